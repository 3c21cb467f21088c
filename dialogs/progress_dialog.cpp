#include "dialogs/progress_dialog.h"

#include <commctrl.h>

#include "dialogs/progress_scale.h"

const char* const kProgressStartingText = "Starting setup. Please wait...";
const char* const kProgressBuildingText = "Building packages...";

// While the dialog holds drawing, the control answers the change it is sent
// (the bar's PBM_SETPOS, the text's WM_SETTEXT) as it would, but keeps the
// new value to itself: under Wine every change a control makes visible is a
// round trip to the server, which cost more than writing a small file. The
// kept value is applied (and drawn) with a later entry, or at once when
// anyone else sends the control a message, so that a reader sees the last
// entry. The instance is found through the control's user data, which is
// read without asking the server.
class TProgressDialog::HeldControl {
 public:
  HeldControl(HWND control, UINT changeMessage, const bool& held)
      : control_(control), changeMessage_(changeMessage), held_(held) {
    if (!control_) return;  // a dialog whose window could not be made
    SetWindowLongPtrA(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    own_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HeldControl::Proc)));
  }
  ~HeldControl() {
    if (!own_) return;
    ApplyKept();
    SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own_));
    SetWindowLongPtrA(control_, GWLP_USERDATA, 0);
  }
  HeldControl(const HeldControl&) = delete;
  HeldControl& operator=(const HeldControl&) = delete;

  void ApplyKept() {
    if (!kept_) return;
    kept_ = false;
    const LPARAM text = changeMessage_ == WM_SETTEXT ? reinterpret_cast<LPARAM>(keptText_.c_str()) : 0;
    CallWindowProcA(own_, control_, changeMessage_, keptValue_, text);
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HeldControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self->Handle(message, wParam, lParam);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == changeMessage_ && held_) {
      // Called by the system: nothing may leave here as an exception (the
      // i686 build cannot unwind through the system's frames). A text that
      // cannot be kept is drawn at once instead.
      try {
        return Keep(wParam, lParam);
      } catch (...) {
      }
    }
    if (message == changeMessage_) kept_ = false;  // the newer value wins
    if (message == WM_PAINT && held_) return 0;
    ApplyKept();
    return CallWindowProcA(own_, control_, message, wParam, lParam);
  }

  // Answers what the control would: the bar its previous position, the text TRUE.
  LRESULT Keep(WPARAM wParam, LPARAM lParam) {
    LRESULT answer = TRUE;
    if (changeMessage_ == WM_SETTEXT) {
      keptText_ = lParam ? reinterpret_cast<const char*>(lParam) : "";
    } else {
      answer = kept_ ? static_cast<LRESULT>(keptValue_) : CallWindowProcA(own_, control_, PBM_GETPOS, 0, 0);
      keptValue_ = wParam;
    }
    kept_ = true;
    return answer;
  }

  HWND control_;
  UINT changeMessage_;
  const bool& held_;
  WNDPROC own_ = nullptr;
  bool kept_ = false;
  WPARAM keptValue_ = 0;
  std::string keptText_;
};

TProgressDialog::TProgressDialog() : dialog_(IDD_PROGRESS) {
  // Looked up once: under Wine each look-up asks the server for the children.
  bar_ = GetDlgItem(Handle(), IDC_PROGRESS_BAR);
  status_ = GetDlgItem(Handle(), IDC_PROGRESS_STATUS);
  heldBar_.reset(new HeldControl(bar_, PBM_SETPOS, drawingHeld_));
  heldStatus_.reset(new HeldControl(status_, WM_SETTEXT, drawingHeld_));
  SetStatus(kProgressStartingText);
  drawnAt_ = GetTickCount();
}

TProgressDialog::~TProgressDialog() {
  heldStatus_.reset();
  heldBar_.reset();
}

void TProgressDialog::DrawPending() {
  heldStatus_->ApplyKept();
  heldBar_->ApplyKept();
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
  drawingHeld_ = !DrawEntryNow(doneSize - shownDone_, now - drawnAt_);
  shownDone_ = doneSize;
  SetStatus(entryName);
  SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(ProgressUnits(doneSize, shift_)), 0);
  if (!drawingHeld_) drawnAt_ = now;
  drawingHeld_ = false;
}

void TProgressDialog::ShowBuildingPackages() {
  SetStatus(kProgressBuildingText);
  DrawPending();
}
