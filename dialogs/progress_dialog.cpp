#include "dialogs/progress_dialog.h"

#include <commctrl.h>

#include "dialogs/progress_scale.h"

const char* const kProgressStartingText = "Starting setup. Please wait...";
const char* const kProgressBuildingText = "Building packages...";

TProgressDialog::TProgressDialog() : dialog_(IDD_PROGRESS) { SetStatus(kProgressStartingText); }

void TProgressDialog::SetStatus(const std::string& text) {
  SendDlgItemMessageA(Handle(), IDC_PROGRESS_STATUS, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TProgressDialog::SetTotal(std::uint64_t totalSize) {
  shift_ = ProgressShift(totalSize);
  SendDlgItemMessageA(Handle(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, ProgressUnits(totalSize, shift_));
}

void TProgressDialog::ShowEntry(const std::string& entryName, std::uint64_t doneSize) {
  SetStatus(entryName);
  SendDlgItemMessageA(Handle(), IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(ProgressUnits(doneSize, shift_)),
                      0);
}

void TProgressDialog::ShowBuildingPackages() { SetStatus(kProgressBuildingText); }
