#include "uninstall/entry.h"

#include <windows.h>

#include "records/record_text.h"
#include "support/command_line.h"
#include "support/registry.h"

bool ReadUninstallEntry(const std::string& appName, UninstallEntry& entry) {
  if (appName.empty()) return false;
  RegKey key;
  if (!OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallEntryPath(appName), key)) return false;
  entry = UninstallEntry();
  entry.appName = appName;
  entry.productName = ReadRegistryString(key.Get(), "PRODUCTNAME");
  entry.subProductNames = ReadRegistryString(key.Get(), "SUBPRODUCTNAME");
  entry.ideCode = ReadRegistryString(key.Get(), "DELPHIVER");
  entry.program = SplitCommandLine(ReadRegistryString(key.Get(), "UninstallString")).front();
  entry.folders.SetText(ReadRegistryString(key.Get(), "FOLDERS"));
  entry.installedHelps.SetText(ReadRegistryString(key.Get(), "INSTALLEDHELPS"));
  RegKey files;
  if (OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallFilesPath(appName), files))
    entry.files = RegistryValueNames(files.Get());
  return true;
}

void ForgetInstalledFile(const std::string& appName, const std::string& path) {
  RegKey files;
  if (OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallFilesPath(appName), files)) DeleteRegistryValue(files.Get(), path);
}

bool DeleteUninstallEntry(const std::string& appName) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallFilesPath(appName).c_str());
  return RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallEntryPath(appName).c_str()) == ERROR_SUCCESS;
}
