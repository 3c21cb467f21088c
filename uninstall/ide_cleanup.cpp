// The IDE step: what the installation registered with the IDE edition.
#include <windows.h>

#include "ide/catalogue.h"
#include "ide/help_index.h"
#include "state/ide_table.h"
#include "state/paths.h"
#include "support/files.h"
#include "support/registry.h"
#include "uninstall/entry.h"
#include "uninstall/removal.h"

namespace {

void RemoveKnownPackages(IdeKind kind, const StringList& deletedFiles) {
  const std::string path = GetKnownPackagesKey(kind);
  RegKey key;
  if (path.empty() || !OpenRegistryKey(HKEY_CURRENT_USER, path, key)) return;
  for (const std::string& name : RegistryValueNames(key.Get()))
    if (deletedFiles.Contains(name)) DeleteRegistryValue(key.Get(), name);
}

void RemoveHelpIndexes(IdeKind kind, const StringList& installedHelps) {
  const std::string contents = GetIdeHelpIndexFile(kind);
  if (!FileExists(contents)) return;
  for (const std::string& help : installedHelps) {
    // A help file that another installation still counts keeps its line.
    if (FileExists(ExtractFilePath(contents) + help)) continue;
    RemoveHelpIndex(help, contents);
  }
}

}  // namespace

void UnregisterFromIde(const UninstallEntry& entry, const StringList& deletedFiles) {
  const IdeKind kind = IdeKindFromCode(entry.ideCode);
  RemoveKnownPackages(kind, deletedFiles);
  RemoveHelpIndexes(kind, entry.installedHelps);
}
