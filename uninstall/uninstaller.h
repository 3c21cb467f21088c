#pragma once
// The uninstaller's run, from its command line to its closing message.
#include <string>

// The process exit code: 0 in every outcome.
int RunUninstall(const std::string& commandLine);
