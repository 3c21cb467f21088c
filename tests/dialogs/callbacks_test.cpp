// What the system calls back into, inside the test process: an allocation
// that fails there (a real std::bad_alloc, from a memory manager that
// refuses one large block) ends as it does in either build, since no
// exception may leave a callback through the system's frames.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "dialogs/path_dialog.h"
#include "dialogs/progress_dialog.h"
#include "support/memory_manager.h"

namespace {

constexpr size_t kLarge = 200;
std::atomic<bool> refuseNextLarge{false};
std::atomic<int> refused{0};

void* RefusingGetMem(size_t size) {
  if (size >= kLarge && refuseNextLarge.exchange(false)) {
    ++refused;
    return nullptr;
  }
  return RunTimeMemoryManager().GetMem(size);
}

class Callbacks : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    CoInitialize(nullptr);
    before_ = GetMemoryManager();
    TMemoryManager refusing = before_;
    refusing.GetMem = RefusingGetMem;
    SetMemoryManager(refusing);
    refused = 0;
  }
  void TearDown() override {
    refuseNextLarge = false;
    SetMemoryManager(before_);
  }
  TMemoryManager before_;
};

const std::string kLongText(kLarge, 'x');

// The first visible dialog box of this process into `*out`.
BOOL CALLBACK FindOwnDialog(HWND window, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (pid != GetCurrentProcessId() || std::string(cls) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// Presses Cancel on the first dialog box of this process that comes.
void CancelTheBrowserWhenItComes() {
  for (int i = 0; i < 3000; ++i) {
    HWND found = nullptr;
    EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&found));
    if (found) {
      PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    Sleep(10);
  }
}

}  // namespace

TEST_F(Callbacks, FailureInTheFolderBrowsersCallbackLeavesTheBrowserItsOwnSelection) {
  TZXPathDialog dialog;
  dialog.SetSelectedItem("C:\\" + kLongText);
  std::thread canceller(CancelTheBrowserWhenItComes);
  refuseNextLarge = true;  // the selection copied in the callback
  EXPECT_FALSE(dialog.Execute());
  canceller.join();
  EXPECT_EQ(refused, 1) << "the callback's allocation was refused";
}

TEST_F(Callbacks, FailureToKeepAHeldTextDrawsItAtOnce) {
  TProgressDialog progress;
  progress.SetTotal(1000000);
  // An entry right after a drawing is held; its text is then kept, which
  // needs the large block that is refused.
  for (int n = 1; n <= 20 && refused == 0; ++n) {
    const std::string name = kLongText + std::to_string(n);
    refuseNextLarge = true;
    progress.ShowEntry(name, n);
    refuseNextLarge = false;
  }
  ASSERT_EQ(refused, 1) << "no entry was held";
  char text[kLarge + 8] = {};
  GetWindowTextA(GetDlgItem(progress.Handle(), IDC_PROGRESS_STATUS), text, sizeof text);
  EXPECT_EQ(std::string(text).substr(0, kLarge), kLongText);
}
