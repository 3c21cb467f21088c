#pragma once
// The shell's folder browser as a small component: a root, option flags, a
// title and a start folder in; the chosen file-system folder out.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "dialogs/browse_options.h"
#include "dialogs/shell_item_list.h"

class TZXPathDialog {
 public:
  TZXPathDialog() = default;
  TZXPathDialog(const TZXPathDialog&) = delete;
  TZXPathDialog& operator=(const TZXPathDialog&) = delete;

  std::string Title;
  HWND ParentWindow = nullptr;
  TZXPathDialogRoot Root = pdrNone;
  TZXPathDialogFlags Flags = DefaultPathDialogFlags();

  // The start folder before Execute, the chosen folder after an OK.
  const std::string& SelectedItem() const { return selectedItem_; }
  // Sets the start folder (see StartFolderFor) and moves an open browser's
  // selection to it.
  void SetSelectedItem(const std::string& value);
  // The open browser; null outside Execute.
  HWND BrowseHandle() const { return browseHandle_; }

  std::uint32_t BrowseFlags() const { return BrowseFlagsFor(Flags); }
  // The root's item list, or none when the shell cannot resolve it (the
  // browser then starts at the desktop).
  ShellItemList RootItemList(IMalloc* allocator) const;

  // Runs the browser; true when the user chose a folder with OK.
  bool Execute();

 private:
  static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);

  std::string selectedItem_;
  HWND browseHandle_ = nullptr;
};

// Runs one browser titled `title` over `owner`, opened at `folder`. On OK the
// chosen folder replaces `folder`; otherwise it is left as given.
bool ChooseFolder(const std::string& title, std::string& folder, HWND owner);
