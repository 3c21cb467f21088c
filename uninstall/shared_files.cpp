// The files step: every file of the entry's list is either released (its
// shared count lowered, another installation still uses it) or deleted.
#include <windows.h>

#include "dialogs/progress_dialog.h"
#include "records/record_text.h"
#include "support/registry.h"
#include "support/text.h"
#include "uninstall/entry.h"
#include "uninstall/removal.h"

namespace {

enum class FileOutcome { Released, Deleted, InUse };

// True when the file is gone afterwards, also when it was gone before.
bool IsGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool DeleteInstalledFile(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return IsGone(GetLastError());
  if (attr & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
  if (DeleteFileA(path.c_str())) return true;
  const DWORD error = GetLastError();
  if (attr & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), attr);
  return IsGone(error);
}

// The order keeps a run that is cut short safe to repeat: a released file
// leaves the entry's list before its count is lowered (cut in between, the
// file is kept, never deleted under another installation), and a deleted
// file keeps its count until it is gone.
FileOutcome RemoveInstalledFile(const std::string& appName, const std::string& path) {
  RegKey counts;
  OpenRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, counts);
  DWORD count = 0;
  // A count that is missing or not a number counts this installation only.
  if (counts && ReadRegistryDword(counts.Get(), path, count) && count > 1) {
    ForgetInstalledFile(appName, path);
    WriteRegistryDword(counts.Get(), path, count - 1);
    return FileOutcome::Released;
  }
  if (!DeleteInstalledFile(path)) return FileOutcome::InUse;
  if (counts) DeleteRegistryValue(counts.Get(), path);
  ForgetInstalledFile(appName, path);
  return FileOutcome::Deleted;
}

}  // namespace

StringList RemoveInstalledFiles(const UninstallEntry& entry, TProgressDialog* progress, Leftovers& leftovers) {
  StringList deleted;
  const auto remove = [&](const std::string& path) {
    switch (RemoveInstalledFile(entry.appName, path)) {
      case FileOutcome::Deleted:
        deleted.Add(path);
        break;
      case FileOutcome::InUse:
        leftovers.files.push_back(path);
        break;
      case FileOutcome::Released:
        break;
    }
  };
  // The uninstaller the entry starts goes last, and stays with the entry
  // while another file does: the second run needs it.
  std::vector<std::string> program;
  if (progress) progress->SetTotal(entry.files.size());
  for (size_t i = 0; i < entry.files.size(); ++i) {
    const std::string& path = entry.files[i];
    if (progress) progress->ShowEntry(path, i + 1);
    if (SameText(path, entry.program))
      program.push_back(path);
    else
      remove(path);
  }
  if (leftovers.files.empty())
    for (const std::string& path : program) remove(path);
  DeleteEmptyRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath);
  return deleted;
}
