#pragma once
// The eight IDE editions and what differs between them.
#include <string>

#include "setup/install_state.h"

// The kind whose code equals `code` without regard to ASCII case; D4 (4) otherwise.
IdeKind IdeKindFromCode(const std::string& code);
// The IDE's installation folder with a trailing backslash, or empty.
std::string GetIdeRootDir(IdeKind kind);
// GetIdeRootDir + "HELP\".
std::string GetIdeHelpDir(IdeKind kind);
// GetIdeHelpDir + the edition's help contents file name.
std::string GetIdeHelpIndexFile(IdeKind kind);
