#include "dialogs/progress_dialog.h"

#include <commctrl.h>

#include "dialogs/progress_scale.h"

const char* const kProgressStartingText = "Starting setup. Please wait...";
const char* const kProgressBuildingText = "Building packages...";

namespace {

// While drawing is held, the bar and the text answer what they are sent as
// they would, but keep the new position and text to themselves: under Wine
// every change a control makes visible is a round trip to the server, which
// cost more than writing a small file. The kept values are applied (and
// drawn) with a later entry, or at once when anyone asks the control.
bool DrawingHeld = false;
WNDPROC BarProc = nullptr;
WNDPROC StatusProc = nullptr;
bool PositionKept = false;
WPARAM KeptPosition = 0;
bool TextKept = false;
std::string KeptText;

void ApplyKeptPosition(HWND bar) {
  if (!PositionKept) return;
  PositionKept = false;
  CallWindowProcA(BarProc, bar, PBM_SETPOS, KeptPosition, 0);
}

void ApplyKeptText(HWND status) {
  if (!TextKept) return;
  TextKept = false;
  CallWindowProcA(StatusProc, status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(KeptText.c_str()));
}

LRESULT CALLBACK HeldBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PBM_SETPOS && DrawingHeld) {
    // Answers the previous position, as the bar does.
    const LRESULT previous =
        PositionKept ? static_cast<LRESULT>(KeptPosition) : CallWindowProcA(BarProc, window, PBM_GETPOS, 0, 0);
    KeptPosition = wParam;
    PositionKept = true;
    return previous;
  }
  if (message == PBM_SETPOS) PositionKept = false;  // the newer position wins
  if (message == WM_PAINT && DrawingHeld) return 0;
  ApplyKeptPosition(window);
  return CallWindowProcA(BarProc, window, message, wParam, lParam);
}

LRESULT CALLBACK HeldStatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && DrawingHeld) {
    KeptText = lParam ? reinterpret_cast<const char*>(lParam) : "";
    TextKept = true;
    return TRUE;
  }
  if (message == WM_SETTEXT) TextKept = false;
  if (message == WM_PAINT && DrawingHeld) return 0;
  ApplyKeptText(window);
  return CallWindowProcA(StatusProc, window, message, wParam, lParam);
}

WNDPROC Subclass(HWND control, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

}  // namespace

TProgressDialog::TProgressDialog() : dialog_(IDD_PROGRESS) {
  // Looked up once: under Wine each look-up asks the server for the children.
  bar_ = GetDlgItem(Handle(), IDC_PROGRESS_BAR);
  status_ = GetDlgItem(Handle(), IDC_PROGRESS_STATUS);
  BarProc = Subclass(bar_, HeldBarProc);
  StatusProc = Subclass(status_, HeldStatusProc);
  SetStatus(kProgressStartingText);
  drawnAt_ = GetTickCount();
}

void TProgressDialog::DrawPending() {
  ApplyKeptText(status_);
  ApplyKeptPosition(bar_);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  drawnAt_ = GetTickCount();
}

void TProgressDialog::SetStatus(const std::string& text) {
  SendMessageA(status_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TProgressDialog::SetTotal(std::uint64_t totalSize) {
  shift_ = ProgressShift(totalSize);
  SendMessageA(bar_, PBM_SETRANGE32, 0, ProgressUnits(totalSize, shift_));
  DrawPending();
}

void TProgressDialog::ShowEntry(const std::string& entryName, std::uint64_t doneSize) {
  // Every entry sends both messages; only their drawing may wait.
  const DWORD now = GetTickCount();
  DrawingHeld = !DrawEntryNow(doneSize - shownDone_, now - drawnAt_);
  shownDone_ = doneSize;
  SetStatus(entryName);
  SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(ProgressUnits(doneSize, shift_)), 0);
  if (!DrawingHeld) drawnAt_ = now;
  DrawingHeld = false;
}

void TProgressDialog::ShowBuildingPackages() {
  SetStatus(kProgressBuildingText);
  DrawPending();
}
