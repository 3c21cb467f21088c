#include "records/uninstall.h"

#include <initializer_list>
#include <utility>

#include "records/record_text.h"
#include "state/install_state.h"
#include "support/errors.h"
#include "support/registry.h"
#include "support/string_list.h"

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

// One count, in the table's key (null when it could not be opened); returns
// the new count.
DWORD IncrementSharedFileCountIn(const RegKey& key, const std::string& path) {
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
  return count + 1;
}

}  // namespace

unsigned long IncrementSharedFileCount(const std::string& path) {
  RegKey key;
  CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  return IncrementSharedFileCountIn(key, path);
}

void IncrementSharedFileCounts(const StringList& files) {
  // The table's key is opened once for the whole list, not once per file.
  RegKey key;
  if (!files.Empty()) CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  for (const std::string& file : files) IncrementSharedFileCountIn(key, file);
}

void RegisterUninstall() {
  const std::string uninstallString = UninstallCommand(Install.InstallDir, Install.AppName);
  WriteUninstallValue(Install.AppName, "PRODUCTNAME", Install.ProductName);
  WriteUninstallValue(Install.AppName, "SUBPRODUCTNAME", Install.SubProductName);
  WriteUninstallFileList(Install.AppName, Install.InstalledFileList);
  IncrementSharedFileCounts(Install.InstalledFileList);
  WriteUninstallValue(Install.AppName, "FOLDERS", Install.CreatedFolderList.Text());
  WriteUninstallValue(Install.AppName, "REGKEYS", Install.RegistryKeyList.Text());
  WriteUninstallValue(Install.AppName, "APPNAME", Install.AppName);
  WriteUninstallValue(Install.AppName, "DELPHIVER", Install.IdeCode);
  WriteUninstallEntry(Install.AppName, uninstallString);
}

void WriteUninstallVersion() { WriteUninstallValue(Install.AppName, "VERSION", Install.Version); }
