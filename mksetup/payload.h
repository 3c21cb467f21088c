#pragma once
// The payload archive of an installer: a ready RAR archive, or a folder
// packed into one.
#include <string>

#include "rarwriter/rar_writer.h"

// The name the installation's uninstaller has at the payload's root.
extern const char* const kUninstallerName;  // "uninstall.exe"

// Fills `archive` with the bytes of the RAR archive at `path`, or of a new
// archive made from the folder at `path` with `packing` (and then `sizes`
// with its sizes; a ready archive leaves them 0); a folder without an
// uninstaller at its root gets the one at `uninstallerPath`. `warning` tells
// of a ready archive without one (it is taken as it is). False with a reason
// in `error`.
bool LoadPayload(const std::string& path, const std::string& uninstallerPath, RarPacking packing, std::string& archive,
                 RarSizes& sizes, std::string& warning, std::string& error);
