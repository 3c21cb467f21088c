#pragma once
// Drives another process's windows the way a user does: finds its message
// boxes and dialogs, reads them, types into edits, presses buttons.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/handles.h"

namespace gui {

struct Control {
  HWND hwnd = nullptr;
  int id = 0;
  std::string className;
  std::string text;
};

// A started program; its handles are closed when it goes.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts `path` with `arguments` in `workDir` (empty: the current folder);
  // `arguments` go into the command line as written (quote them with
  // support/command_line.h).
  bool Start(const std::string& path, const std::string& arguments = "", const std::string& workDir = "");
  DWORD Id() const { return pid_; }
  bool Running() const;
  // Waits for the exit; false on time-out. The exit code goes to `code`.
  bool WaitForExit(DWORD timeoutMs, DWORD* code);
  void Kill();
  // For a program that hands its work over to a process it starts (and then
  // ends): waits for the end, then takes that process over. False when the
  // program did not end or started no process that is still running.
  bool FollowChild(DWORD timeoutMs);

 private:
  KernelHandle process_;
  DWORD pid_ = 0;
};

// The one wait of the driver and the tests: polls `done` until it returns
// true (then true) or `timeoutMs` has passed (then false, after a last look).
// Also for "nothing happens": EXPECT_FALSE(WaitUntil(happened, ms)).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The visible top-level windows of process `pid`.
std::vector<HWND> VisibleWindows(DWORD pid);

// Waits up to `timeoutMs` for a visible top-level window of `program` whose
// caption is `caption`; null when none came (or the program ended first).
HWND WaitForWindow(const Program& program, const std::string& caption, DWORD timeoutMs);
// Waits for any visible top-level window of `program`.
HWND WaitForAnyWindow(const Program& program, DWORD timeoutMs);
// Waits until `window` is gone.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The message text of a message box (its static control 0xFFFF).
std::string MessageText(HWND box);
// The child controls, in Z order (which for dialogs is template order).
std::vector<Control> Controls(HWND dialog);
// The captions of the buttons of a dialog or message box, in order.
std::vector<std::string> ButtonTexts(HWND dialog);

std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
// Presses the button with that id, as a click would.
void PressButton(HWND dialog, int id);
// Presses the button with that caption; false when there is none.
bool PressButton(HWND dialog, const std::string& caption);
// Presses a key in a control (WM_KEYDOWN/WM_KEYUP posted to it).
void PressKey(HWND control, UINT virtualKey);
// Closes a window through its caption's close button.
void CloseWindow(HWND window);

// A one-line description of a window: caption, text and buttons.
std::string Describe(HWND window);

}  // namespace gui
