#include "records/uninstall.h"

#include <exception>
#include <initializer_list>
#include <utility>
#include <vector>

#include "records/record_text.h"
#include "setup/install_state.h"
#include "support/errors.h"
#include "support/registry.h"
#include "support/string_list.h"
#include "support/worker_thread.h"

namespace {

using NamedValue = std::pair<std::string, std::string>;

// The entry's single values: the parent key and the entry are created one
// after the other, and every failure is left unreported.
void WriteUninstallValues(const std::string& appName, std::initializer_list<NamedValue> values) {
  RegKey root;
  if (!CreateRegistryKey(HKEY_LOCAL_MACHINE, kUninstallRootPath, root)) return;
  RegKey entry;
  if (RegCreateKeyExA(root.Get(), appName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      entry.Out(), nullptr) != ERROR_SUCCESS)
    return;
  for (const NamedValue& v : values) WriteRegistryString(entry.Get(), v.first, v.second);
}

}  // namespace

void WriteUninstallValue(const std::string& appName, const std::string& valueName, const std::string& value) {
  WriteUninstallValues(appName, {{valueName, value}});
}

void WriteUninstallEntry(const std::string& appName, const std::string& uninstallString) {
  WriteUninstallValues(appName, {{"DisplayName", appName}, {"UninstallString", uninstallString}});
}

void WriteUninstallFileList(const std::string& appName, const StringList& files) {
  RegKey key;
  CreateRegistryKey(HKEY_LOCAL_MACHINE, UninstallFilesPath(appName), key);
  for (const std::string& file : files)
    if (!key || !WriteRegistryDword(key.Get(), file, 0)) throw RegistryError(FailedToSetDataMessage(file));
}

namespace {

// A raised count, as it was before: enough to take the raise back.
struct Raise {
  std::string path;
  bool existed;
  DWORD before;
};

// One count, in the table's key (null when it could not be opened).
Raise IncrementSharedFileCountIn(const RegKey& key, const std::string& path) {
  DWORD count = 0;
  DWORD type = 0;
  DWORD size = sizeof count;
  const LONG found =
      key ? RegQueryValueExA(key.Get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size)
          : ERROR_FILE_NOT_FOUND;
  if (found == ERROR_FILE_NOT_FOUND) {
    count = 0;
  } else if (found != ERROR_SUCCESS || type != REG_DWORD || size != sizeof count) {
    throw RegistryError(InvalidDataTypeMessage(path));
  }
  if (!key || !WriteRegistryDword(key.Get(), path, count + 1)) throw RegistryError(FailedToSetDataMessage(path));
  return {path, found == ERROR_SUCCESS, count};
}

// Raises the counts in the table's key, opened once for the whole list;
// `raises` gets each raise as it is made.
void IncrementSharedFileCountsIn(RegKey& key, const StringList& files, std::vector<Raise>& raises) {
  if (!files.Empty()) CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  for (const std::string& file : files) raises.push_back(IncrementSharedFileCountIn(key, file));
}

// Puts the counts back as they were, the last raise first.
void TakeBack(const RegKey& key, const std::vector<Raise>& raises) {
  if (!key) return;
  for (auto r = raises.rbegin(); r != raises.rend(); ++r) {
    if (r->existed)
      WriteRegistryDword(key.Get(), r->path, r->before);
    else
      RegDeleteValueA(key.Get(), r->path.c_str());
  }
}

// The file list and the shared counts at once, the list on a thread of its
// own. The outcome is that of the list first and the counts after it: when
// the list fails, the counts raised meanwhile are taken back and the list's
// error is raised; when only the counts fail, the list is complete.
void WriteFileListAndCounts(const std::string& appName, const StringList& files) {
  WorkerThread list([&appName, &files] { WriteUninstallFileList(appName, files); });
  RegKey key;
  std::vector<Raise> raises;
  std::exception_ptr countError;
  try {
    IncrementSharedFileCountsIn(key, files, raises);
  } catch (...) {
    countError = std::current_exception();
  }
  try {
    list.Join();
  } catch (...) {
    TakeBack(key, raises);
    throw;
  }
  if (countError) std::rethrow_exception(countError);
}

}  // namespace

unsigned long IncrementSharedFileCount(const std::string& path) {
  RegKey key;
  CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  return IncrementSharedFileCountIn(key, path).before + 1;
}

void IncrementSharedFileCounts(const StringList& files) {
  RegKey key;
  std::vector<Raise> raises;
  IncrementSharedFileCountsIn(key, files, raises);
}

void RegisterUninstall() {
  const std::string uninstallString = UninstallCommand(Install.InstallDir, Install.AppName);
  WriteUninstallValue(Install.AppName, "PRODUCTNAME", Install.ProductName);
  WriteUninstallValue(Install.AppName, "SUBPRODUCTNAME", Install.SubProductName);
  WriteFileListAndCounts(Install.AppName, Install.InstalledFileList);
  WriteUninstallValue(Install.AppName, "FOLDERS", Install.CreatedFolderList.Text());
  WriteUninstallValue(Install.AppName, "REGKEYS", Install.RegistryKeyList.Text());
  WriteUninstallValue(Install.AppName, "APPNAME", Install.AppName);
  WriteUninstallValue(Install.AppName, "DELPHIVER", Install.IdeCode);
  WriteUninstallEntry(Install.AppName, uninstallString);
}

void WriteUninstallVersion() { WriteUninstallValue(Install.AppName, "VERSION", Install.Version); }
