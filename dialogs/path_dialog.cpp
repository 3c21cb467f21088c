#include "dialogs/path_dialog.h"

#include <vector>

#include "support/handles.h"

namespace {
const LPARAM kSelectionIsPath = -1;

std::string CurrentDirectory() {
  DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::vector<char> buffer(size + 1, '\0');
  DWORD got = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  return got < buffer.size() ? std::string(buffer.data(), got) : std::string();
}
}  // namespace

void TZXPathDialog::SetSelectedItem(const std::string& value) {
  selectedItem_ = StartFolderFor(value, CurrentDirectory);
  if (browseHandle_)
    SendMessageA(browseHandle_, BFFM_SETSELECTIONA, static_cast<WPARAM>(kSelectionIsPath),
                 reinterpret_cast<LPARAM>(selectedItem_.c_str()));
}

ShellItemList TZXPathDialog::RootItemList(IMalloc* allocator) const {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, RootFolderId(Root), &items))) items = nullptr;
  return ShellItemList(allocator, items);
}

int CALLBACK TZXPathDialog::BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  auto* self = reinterpret_cast<TZXPathDialog*>(data);
  self->browseHandle_ = window;
  try {
    self->SetSelectedItem(self->selectedItem_);
  } catch (...) {
    // Only an allocation can fail here; the browser keeps its own selection.
  }
  return 0;
}

bool TZXPathDialog::Execute() {
  ComPtr<IMalloc> allocator;
  // Without the task allocator nothing the shell hands out could be freed.
  if (FAILED(SHGetMalloc(allocator.Out())) || !allocator) return false;
  char displayName[MAX_PATH] = {};
  ShellItemList root = RootItemList(allocator.Get());
  BROWSEINFOA info = {};
  info.hwndOwner = ParentWindow;
  info.pidlRoot = root.Get();
  info.pszDisplayName = displayName;
  info.lpszTitle = Title.c_str();
  info.ulFlags = BrowseFlags();
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  ShellItemList chosen(allocator.Get(), SHBrowseForFolderA(&info));
  browseHandle_ = nullptr;
  if (!chosen.Get()) return false;
  selectedItem_ = displayName;
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(chosen.Get(), path)) selectedItem_ = path;
  return true;
}

bool ChooseFolder(const std::string& title, std::string& folder, HWND owner) {
  TZXPathDialog dialog;
  dialog.SetSelectedItem(folder);
  dialog.ParentWindow = owner;
  dialog.Title = title;
  if (!dialog.Execute()) return false;
  folder = dialog.SelectedItem();
  return true;
}
