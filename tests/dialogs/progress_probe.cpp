// Test program that drives the progress dialog the way the extraction does,
// one step per command-line argument, and waits between steps so that a
// test can look at the dialog from outside:
//   progress_probe EVENTS create total:N entry:NAME:N burst:N building destroy ...
// (burst:N shows entries 1..N of 10 bytes each, named 1..N, in one step).
// After each step it sets EVENTS-ready and waits for EVENTS-next, handling
// only messages sent to it meanwhile (the installer runs no loop there).
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "dialogs/progress_dialog.h"
#include "support/handles.h"

namespace {

void WaitHandlingSentMessages(HANDLE event) {
  while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

std::uint64_t Number(const std::string& text) { return std::strtoull(text.c_str(), nullptr, 10); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  InitCommonControls();
  const std::string events = argv[1];
  KernelHandle readyEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, (events + "-ready").c_str()));
  KernelHandle nextEvent(OpenEventA(SYNCHRONIZE, FALSE, (events + "-next").c_str()));
  const HANDLE ready = readyEvent.Get();
  const HANDLE next = nextEvent.Get();
  if (!ready || !next) return 3;
  std::unique_ptr<TProgressDialog> progress;
  for (int i = 2; i < argc; ++i) {
    const std::string step = argv[i];
    if (step == "create") {
      progress = std::make_unique<TProgressDialog>();
    } else if (step == "destroy") {
      progress.reset();
    } else if (step == "building") {
      progress->ShowBuildingPackages();
    } else if (step.rfind("total:", 0) == 0) {
      progress->SetTotal(Number(step.substr(6)));
    } else if (step.rfind("burst:", 0) == 0) {
      for (std::uint64_t n = 1; n <= Number(step.substr(6)); ++n) progress->ShowEntry(std::to_string(n), n * 10);
    } else if (step.rfind("entry:", 0) == 0) {
      const size_t colon = step.rfind(':');
      progress->ShowEntry(step.substr(6, colon - 6), Number(step.substr(colon + 1)));
    } else {
      return 4;
    }
    SetEvent(ready);
    WaitHandlingSentMessages(next);
  }
  return 0;
}
