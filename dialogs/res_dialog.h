#pragma once
// Dialogs made from the templates in the program's own resources: created
// modelessly, found again from their window through one list of live
// dialogs, and run modally with a message loop of their own when asked.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "dialogs/dialog_ids.h"
#include "support/handles.h"

// A window message as the message methods receive it.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;  // never read: the dialog procedure always answers 0
};

class TResDialog {
 public:
  // Lists the dialog, then creates its window from template `templateId`
  // without owner. The window of a template without WS_VISIBLE stays hidden.
  explicit TResDialog(int templateId);
  // Unlists the dialog, then destroys its window.
  virtual ~TResDialog();
  TResDialog(const TResDialog&) = delete;
  TResDialog& operator=(const TResDialog&) = delete;

  // Null when the window could not be created.
  HWND Handle() const { return handle_.Get(); }
  bool Finished() const { return finished_; }
  bool Accepted() const { return accepted_; }

  // Shows the window and handles messages until OK or Cancel is chosen (or
  // WM_QUIT comes); true for OK. False at once for a dialog without window.
  // The window stays on screen until the dialog is destroyed.
  bool Execute();

  // Deliberately never reached: WM_INITDIALOG arrives before Handle is known
  // (the window is listed only once CreateDialogParamA returns), so users set
  // a dialog up after construction. Kept as the hook subclasses would use.
  virtual void InitDialog() {}

  // Hands `message` to the method bound to its number; other numbers (0 and
  // those from 0xC000 up among them) reach none.
  void Dispatch(TMessage& message);

 protected:
  virtual void WMInitDialog(TMessage& message);
  // OK (id 1) and Cancel (id 2) with notification code 0 finish the dialog.
  virtual void WMCommand(TMessage& message);

 private:
  friend INT_PTR CALLBACK ResDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Fail(std::exception_ptr failure);

  WindowHandle handle_;
  bool finished_ = false;
  bool accepted_ = false;
  std::exception_ptr failure_;  // thrown by a message method, rethrown by Execute
};

// The live dialogs, in order of construction.
const std::vector<TResDialog*>& DialogList();

// The dialog procedure of every TResDialog window: delivers the message to
// the listed dialog with that window and always answers 0.
INT_PTR CALLBACK ResDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The destination-folder dialog: edit 1000 holds the folder, Browse opens
// the shell's folder browser on it.
class TSelectDirDialog : public TResDialog {
 public:
  explicit TSelectDirDialog(int templateId = IDD_SELECT_DIR) : TResDialog(templateId) {}
  std::string Directory() const;
  void SetDirectory(const std::string& directory);

 protected:
  void WMCommand(TMessage& message) override;
};

extern const char* const kBrowseTitle;  // "Select the installation folder"
