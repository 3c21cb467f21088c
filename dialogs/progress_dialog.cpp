#include "dialogs/progress_dialog.h"

#include <commctrl.h>

#include "dialogs/progress_scale.h"

const char* const kProgressStartingText = "Starting setup. Please wait...";
const char* const kProgressBuildingText = "Building packages...";

namespace {

// While drawing is held, the bar and the text take what they are sent but
// leave it invalid on screen, to be drawn with a later entry.
bool DrawingHeld = false;
WNDPROC BarProc = nullptr;
WNDPROC StatusProc = nullptr;

LRESULT CALLBACK HeldBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && DrawingHeld) return 0;
  return CallWindowProcA(BarProc, window, message, wParam, lParam);
}

LRESULT CALLBACK HeldStatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DrawingHeld && message == WM_SETTEXT) {
    // The text is kept as the control would keep it; only its drawing waits.
    const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    InvalidateRect(window, nullptr, TRUE);
    return result;
  }
  if (message == WM_PAINT && DrawingHeld) return 0;
  return CallWindowProcA(StatusProc, window, message, wParam, lParam);
}

WNDPROC Subclass(HWND control, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

}  // namespace

TProgressDialog::TProgressDialog() : dialog_(IDD_PROGRESS) {
  BarProc = Subclass(GetDlgItem(Handle(), IDC_PROGRESS_BAR), HeldBarProc);
  StatusProc = Subclass(GetDlgItem(Handle(), IDC_PROGRESS_STATUS), HeldStatusProc);
  SetStatus(kProgressStartingText);
  drawnAt_ = GetTickCount();
}

void TProgressDialog::DrawPending() {
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  drawnAt_ = GetTickCount();
}

void TProgressDialog::SetStatus(const std::string& text) {
  SendDlgItemMessageA(Handle(), IDC_PROGRESS_STATUS, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TProgressDialog::SetTotal(std::uint64_t totalSize) {
  shift_ = ProgressShift(totalSize);
  SendDlgItemMessageA(Handle(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, ProgressUnits(totalSize, shift_));
  DrawPending();
}

void TProgressDialog::ShowEntry(const std::string& entryName, std::uint64_t doneSize) {
  // Every entry sends both messages; only their drawing may wait.
  const DWORD now = GetTickCount();
  DrawingHeld = !DrawEntryNow(doneSize - shownDone_, now - drawnAt_);
  shownDone_ = doneSize;
  SetStatus(entryName);
  SendDlgItemMessageA(Handle(), IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(ProgressUnits(doneSize, shift_)),
                      0);
  if (!DrawingHeld) drawnAt_ = now;
  DrawingHeld = false;
}

void TProgressDialog::ShowBuildingPackages() {
  SetStatus(kProgressBuildingText);
  DrawPending();
}
