// TResDialog and TSelectDirDialog inside the test process: the list of live
// dialogs, delivery by window, the OK/Cancel rule, the loop of Execute and
// the Directory property; the browser component's defaults.
#include "dialogs/res_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "dialogs/path_dialog.h"

namespace {

class ResDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitCommonControls();
    CoInitialize(nullptr);
  }
};

void Command(HWND dialog, WORD id, WORD code, LPARAM control = 0) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), control);
}

// Its Browse throws, and counts how often it came.
class ProbeDialog : public TSelectDirDialog {
 public:
  int browses = 0;

 protected:
  void WMCommand(TMessage& message) override {
    if (LOWORD(message.WParam) == IDC_BROWSE) {
      ++browses;
      throw std::runtime_error("from a message method");
    }
    TSelectDirDialog::WMCommand(message);
  }
};

}  // namespace

TEST_F(ResDialogTest, ListedFromConstructionToDestruction) {
  ASSERT_TRUE(DialogList().empty());
  auto first = std::make_unique<TResDialog>(IDD_PROGRESS);
  auto second = std::make_unique<TSelectDirDialog>();
  ASSERT_EQ(DialogList().size(), 2u);
  EXPECT_EQ(DialogList()[0], first.get());
  EXPECT_EQ(DialogList()[1], second.get());
  const HWND window = first->Handle();
  first.reset();
  EXPECT_FALSE(IsWindow(window));
  ASSERT_EQ(DialogList().size(), 1u);
  EXPECT_EQ(DialogList()[0], second.get());
  second.reset();
  EXPECT_TRUE(DialogList().empty());
}

TEST_F(ResDialogTest, TemplateDecidesVisibility) {
  TSelectDirDialog destination;
  TResDialog progress(IDD_PROGRESS);
  ASSERT_TRUE(destination.Handle());
  ASSERT_TRUE(progress.Handle());
  EXPECT_FALSE(IsWindowVisible(destination.Handle()));
  EXPECT_TRUE(IsWindowVisible(progress.Handle()));
  EXPECT_FALSE(destination.Finished());
  EXPECT_FALSE(destination.Accepted());
}

TEST_F(ResDialogTest, OkAndCancelWithCodeZeroFinish) {
  TSelectDirDialog ok, cancel;
  Command(ok.Handle(), IDOK, 0);
  EXPECT_TRUE(ok.Finished());
  EXPECT_TRUE(ok.Accepted());
  Command(cancel.Handle(), IDCANCEL, BN_CLICKED);  // BN_CLICKED is 0
  EXPECT_TRUE(cancel.Finished());
  EXPECT_FALSE(cancel.Accepted());
}

TEST_F(ResDialogTest, OtherCommandsDoNotFinish) {
  TSelectDirDialog dialog;
  Command(dialog.Handle(), IDOK, 1);
  Command(dialog.Handle(), IDCANCEL, 0x8000);
  Command(dialog.Handle(), IDC_DIRECTORY, EN_CHANGE, reinterpret_cast<LPARAM>(GetDlgItem(dialog.Handle(), 1000)));
  Command(dialog.Handle(), 7, 0);
  EXPECT_FALSE(dialog.Finished());
  // Only the low 16 bits of the message number choose the method.
  TMessage high{WM_COMMAND | 0x10000, MAKEWPARAM(IDOK, 0), 0, 0};
  dialog.Dispatch(high);
  EXPECT_TRUE(dialog.Finished());
}

TEST_F(ResDialogTest, EachMessageGoesToTheDialogOfItsWindow) {
  TSelectDirDialog a, b;
  Command(b.Handle(), IDOK, 0);
  EXPECT_FALSE(a.Finished());
  EXPECT_TRUE(b.Finished());
}

TEST_F(ResDialogTest, ExecuteEndsOnTheMessageAfterOk) {
  TSelectDirDialog dialog;
  dialog.SetDirectory("C:\\Some Folder\\");
  PostMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(IsWindowVisible(dialog.Handle())) << "the window stays until the dialog goes";
  EXPECT_EQ(dialog.Directory(), "C:\\Some Folder\\");
}

TEST_F(ResDialogTest, ExecuteEndsWhenOkCameFromOutsideTheLoop) {
  // A command sent (not posted) before the loop leaves no message behind of
  // its own; the loop must still end.
  TSelectDirDialog dialog;
  Command(dialog.Handle(), IDCANCEL, 0);
  EXPECT_FALSE(dialog.Execute());
}

TEST_F(ResDialogTest, QuitEndsExecuteWithFalse) {
  TSelectDirDialog dialog;
  PostQuitMessage(0);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_FALSE(dialog.Finished());
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT is not posted again";
}

TEST_F(ResDialogTest, DialogWithoutWindowAnswersFalseAtOnce) {
  TSelectDirDialog missing(999);
  EXPECT_EQ(missing.Handle(), nullptr);
  EXPECT_EQ(DialogList().size(), 1u);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(missing.Execute());
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(missing.Directory(), "");
}

TEST_F(ResDialogTest, FailureInAMessageMethodEndsExecuteAndIsRaisedThere) {
  ProbeDialog dialog;
  PostMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_BROWSE, 0), 0);
  EXPECT_THROW(dialog.Execute(), std::runtime_error);
  EXPECT_EQ(dialog.browses, 1) << "the loop ended with the failure";
}

TEST_F(ResDialogTest, DirectoryIsTheEditText) {
  TSelectDirDialog dialog;
  EXPECT_EQ(dialog.Directory(), "");
  dialog.SetDirectory("C:\\Corvane\\Tab_D5");
  EXPECT_EQ(dialog.Directory(), "C:\\Corvane\\Tab_D5");
  char text[64] = {};
  GetDlgItemTextA(dialog.Handle(), 1000, text, sizeof text);
  EXPECT_STREQ(text, "C:\\Corvane\\Tab_D5");
  const std::string accented = "C:\\Programme\\\xC4nderung \xE9t\xE9";
  dialog.SetDirectory(accented);
  EXPECT_EQ(dialog.Directory(), accented);
  dialog.SetDirectory("");
  EXPECT_EQ(dialog.Directory(), "");
}

TEST_F(ResDialogTest, PathDialogDefaults) {
  TZXPathDialog browser;
  EXPECT_EQ(browser.BrowseFlags(), 1u);
  EXPECT_EQ(browser.Root, pdrNone);
  EXPECT_EQ(browser.Title, "");
  EXPECT_EQ(browser.SelectedItem(), "");
  EXPECT_EQ(browser.BrowseHandle(), nullptr);
  ComPtr<IMalloc> allocator;
  ASSERT_EQ(SHGetMalloc(allocator.Out()), S_OK);
  ShellItemList root = browser.RootItemList(allocator.Get());
  ASSERT_TRUE(root.Get());
  EXPECT_EQ(root.Get()->mkid.cb, 0) << "the desktop's item list is empty";
  browser.Root = pdrDrives;
  ShellItemList drives = browser.RootItemList(allocator.Get());
  ASSERT_TRUE(drives.Get());
  EXPECT_NE(drives.Get()->mkid.cb, 0);
}

TEST_F(ResDialogTest, SelectedItemWithoutBrowser) {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  TZXPathDialog browser;
  browser.SetSelectedItem("");
  EXPECT_EQ(browser.SelectedItem(), current);
  browser.SetSelectedItem("C:\\A\\\\");
  EXPECT_EQ(browser.SelectedItem(), "C:\\A\\");
  SetCurrentDirectoryA("C:\\");
  browser.SetSelectedItem("");
  EXPECT_EQ(browser.SelectedItem(), "C:\\") << "a root keeps its backslash";
  SetCurrentDirectoryA(current);
}
