#pragma once
// The uninstall entry the installer left, as the uninstaller reads and
// finally deletes it.
#include <string>
#include <vector>

#include "support/string_list.h"

struct UninstallEntry {
  std::string appName;
  std::string productName;         // PRODUCTNAME
  std::string subProductNames;     // SUBPRODUCTNAME, ";"-separated
  std::string ideCode;             // DELPHIVER
  std::string program;             // the uninstaller the entry's command starts
  StringList folders;              // FOLDERS
  StringList installedHelps;       // INSTALLEDHELPS
  std::vector<std::string> files;  // the names of the "Files" subkey's values
};

// False when the entry of `appName` does not exist (or the name is empty).
bool ReadUninstallEntry(const std::string& appName, UninstallEntry& entry);

// Takes one file off the entry's "Files" list.
void ForgetInstalledFile(const std::string& appName, const std::string& path);

// Deletes the "Files" subkey and the entry; true when the entry is gone.
bool DeleteUninstallEntry(const std::string& appName);
