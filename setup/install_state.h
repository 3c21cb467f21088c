#pragma once
// The state of the one installation run: set at start-up and by the steps,
// read by every step directly.
#include <string>

#include "support/string_list.h"

using IdeKind = unsigned char;  // 0..7: D2, C1, D3, C3, D4, C4, D5, C5

struct InstallState {
  std::string AppName;
  std::string ProductName;
  std::string SubProductName;
  std::string Version;
  std::string InternalVersion;
  std::string InstallDir;
  std::string IdeCode;
  IdeKind Ide = 0;
  std::string IdeHelpIndexFile;
  std::string IdeHelpDir;
  std::string PreviousInstallDir;

  StringList InstalledFileList;
  StringList CreatedFolderList;
  StringList RegistryKeyList;  // nothing adds to it; recorded empty
  StringList SystemFileList;
  StringList HelpFileList;
  StringList InstalledHelpList;
};

extern InstallState Install;
