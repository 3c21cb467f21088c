#include "dialogs/res_dialog.h"

#include <algorithm>

#include "dialogs/path_dialog.h"

const char* const kBrowseTitle = "Select the installation folder";

namespace {
std::vector<TResDialog*>& LiveDialogs() {
  static std::vector<TResDialog*> list;
  return list;
}

WORD CommandId(const TMessage& m) { return LOWORD(m.WParam); }
WORD NotificationCode(const TMessage& m) { return HIWORD(m.WParam); }
}  // namespace

const std::vector<TResDialog*>& DialogList() { return LiveDialogs(); }

TResDialog::TResDialog(int templateId) {
  LiveDialogs().push_back(this);
  handle_.Reset(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, ResDialogProc, 0));
}

TResDialog::~TResDialog() {
  auto& list = LiveDialogs();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  // handle_ destroys the window after this, once the dialog is unlisted.
}

void TResDialog::Dispatch(TMessage& message) {
  switch (LOWORD(message.Msg)) {
    case WM_INITDIALOG:
      WMInitDialog(message);
      break;
    case WM_COMMAND:
      WMCommand(message);
      break;
    default:
      break;
  }
}

void TResDialog::WMInitDialog(TMessage&) { InitDialog(); }

void TResDialog::WMCommand(TMessage& message) {
  if (NotificationCode(message) != 0) return;
  const WORD id = CommandId(message);
  if (id != IDOK && id != IDCANCEL) return;
  finished_ = true;
  accepted_ = id == IDOK;
  // The loop looks at Finished after each message it retrieves: make sure
  // one comes, also when this command was sent from outside the loop.
  PostMessageA(Handle(), WM_NULL, 0, 0);
}

void TResDialog::Fail(std::exception_ptr failure) {
  failure_ = failure;
  finished_ = true;
  accepted_ = false;
  PostMessageA(Handle(), WM_NULL, 0, 0);
}

bool TResDialog::Execute() {
  if (!Handle()) return false;
  ShowWindow(Handle(), SW_SHOWDEFAULT);
  MSG msg;
  // GetMessageA answers -1 only for a bad filter window; end then too
  // rather than spin.
  while (GetMessageA(&msg, nullptr, 0, 0) > 0 && !finished_) {
    if (!IsDialogMessageA(Handle(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (failure_) std::rethrow_exception(failure_);
  return accepted_;
}

INT_PTR CALLBACK ResDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (TResDialog* dialog : LiveDialogs()) {
    if (dialog->Handle() != window) continue;
    TMessage m{message, wParam, lParam, 0};
    // No exception may cross into the system's dialog manager: the dialog
    // ends and Execute throws it on the program's side.
    try {
      dialog->Dispatch(m);
    } catch (...) {
      dialog->Fail(std::current_exception());
    }
    break;
  }
  return 0;
}

std::string TSelectDirDialog::Directory() const {
  const int n = static_cast<int>(SendDlgItemMessageA(Handle(), IDC_DIRECTORY, WM_GETTEXTLENGTH, 0, 0));
  if (n <= 0) return std::string();
  std::string text(static_cast<size_t>(n) + 1, '\0');
  const int got = static_cast<int>(
      SendDlgItemMessageA(Handle(), IDC_DIRECTORY, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&text[0])));
  text.resize(got > 0 ? std::min(got, n) : 0);
  return text;
}

void TSelectDirDialog::SetDirectory(const std::string& directory) {
  SendDlgItemMessageA(Handle(), IDC_DIRECTORY, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(directory.c_str()));
}

void TSelectDirDialog::WMCommand(TMessage& message) {
  TResDialog::WMCommand(message);
  if (NotificationCode(message) != 0 || CommandId(message) != IDC_BROWSE) return;
  std::string folder = Directory();
  if (ChooseFolder(kBrowseTitle, folder, Handle())) SetDirectory(folder);
}
