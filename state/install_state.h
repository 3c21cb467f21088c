#pragma once
// The state of the one installation run: set at start-up and by the steps,
// read by every step directly.
#include <string>

#include "state/ide_table.h"
#include "support/string_list.h"

struct InstallState {
  std::string AppName;
  std::string ProductName;
  std::string SubProductName;
  std::string Version;
  std::string InternalVersion;
  std::string InstallDir;
  std::string IdeCode;
  IdeKind Ide = kIdeD2;
  std::string IdeHelpIndexFile;
  std::string IdeHelpDir;
  std::string PreviousInstallDir;

  StringList InstalledFileList;
  StringList CreatedFolderList;
  StringList RegistryKeyList;  // deliberately empty: nothing adds to it, yet the uninstall entry records it
  StringList SystemFileList;
  StringList HelpFileList;
  StringList InstalledHelpList;
};

extern InstallState Install;
