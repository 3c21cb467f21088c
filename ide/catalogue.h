#pragma once
// The IDE editions on this machine: where they are, which build they are,
// and whether one is running.
#include <cstdint>
#include <string>

#include "state/ide_table.h"

// The IDE's installation folder with a trailing backslash, or empty when the
// edition's key or its "RootDir" is missing. Throws RegistryError
// "Invalid data type for 'RootDir'" for a value that is not a string.
std::string GetIdeRootDir(IdeKind kind);
// GetIdeRootDir + "HELP\".
std::string GetIdeHelpDir(IdeKind kind);
// GetIdeHelpDir + the edition's help contents file name (not tested to exist).
std::string GetIdeHelpIndexFile(IdeKind kind);

struct FileVersion {
  uint32_t ms = 0;  // dwFileVersionMS
  uint32_t ls = 0;  // dwFileVersionLS
};
// The file version of an executable; 0 and 0 when it has none or cannot be read.
FileVersion GetFileVersion(const std::string& fileName);

// True when the kind needs no build check or its executable in "Bin\" has the
// expected build; false on any error.
bool IsIdeVersionCompatible(IdeKind kind);
// True when top-level windows of all three IDE window classes exist.
bool IsIdeRunning();
// True when installation may go on: the IDE is not running, or the user
// pressed OK on the warning.
bool CheckIdeNotRunning(const std::string& displayName);
