#pragma once
// Makes the IDE aware of the product: known packages in the registry and
// index lines of the help files in the IDE's help contents file.
#include <string>

#include "state/ide_table.h"

// FindFileByName in the installation's InstalledFileList.
std::string FindInstalledFile(const std::string& fileName);

// One REG_SZ value in the edition's Known Packages under HKEY_CURRENT_USER:
// the package's path named, the description as data. Failures are silent;
// editions without packages (D2, C1) have no such key and are left alone.
void RegisterPackage(IdeKind kind, const std::string& packagePath, const std::string& description);

// The PACKAGES step: each listed file that was installed is registered under
// its installed path with the description its line gives.
void RegisterPackages();

// The uninstall entry's value that lists the help files given index lines,
// each followed by CR LF; the uninstaller removes their lines again.
inline constexpr char kInstalledHelpsValue[] = "INSTALLEDHELPS";

// Writes one value of the product's uninstall entry (the records' writer,
// handed down by the sequence).
using UninstallValueWriter = void (*)(const std::string& appName, const std::string& valueName,
                                      const std::string& value);

// The help step: an index line for each HELPFILES line "<name>.hlp=<title>"
// (extension in any case), the names noted in InstalledHelpList and stored as
// the entry's INSTALLEDHELPS. Nothing at all when the IDE has no help
// contents file. Throws FileError when that file cannot be read or written.
void RegisterHelpFiles(UninstallValueWriter writeUninstallValue);
