#include "ide/ide_registration.h"

#include "ide/help_index.h"
#include "ide/package_rules.h"
#include "state/install_state.h"
#include "state/paths.h"
#include "state/script.h"
#include "state/script_keys.h"
#include "support/registry.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {
const char kHelpExt[] = ".HLP";
}  // namespace

std::string FindInstalledFile(const std::string& fileName) {
  return FindFileByName(Install.InstalledFileList, fileName);
}

void RegisterPackage(IdeKind kind, const std::string& packagePath, const std::string& description) {
  // An empty key would put the value into the root of HKEY_CURRENT_USER.
  const std::string keyPath = GetKnownPackagesKey(kind);
  if (keyPath.empty()) return;
  RegKey key;
  if (!CreateRegistryKey(HKEY_CURRENT_USER, keyPath, key)) return;
  WriteRegistryString(key.Get(), packagePath, description);
}

void RegisterPackages() {
  const StringList packages(SplitLines(ReadScriptString(scriptkey::kPackages)));
  for (const std::string& line : packages) {
    const std::string name = LineName(line);
    const std::string path = FindInstalledFile(name);
    if (!path.empty()) RegisterPackage(Install.Ide, path, packages.Value(name));
  }
}

void RegisterHelpFiles(UninstallValueWriter writeUninstallValue) {
  if (Install.IdeHelpIndexFile.empty()) return;
  for (const std::string& line : Install.HelpFileList) {
    const std::string name = LineName(line);
    if (!SameTextAscii(ExtractFileExt(name), kHelpExt)) continue;
    AddHelpIndex(name, LineValue(line), Install.IdeHelpIndexFile);
    Install.InstalledHelpList.Add(name);
  }
  writeUninstallValue(Install.AppName, kInstalledHelpsValue, Install.InstalledHelpList.Text());
}
