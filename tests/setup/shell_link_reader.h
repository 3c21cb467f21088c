#pragma once
// Reads a shortcut file back through the shell's own link object, for the
// shortcut test and the demo (show_link.exe). COM must be initialised.
#include <optional>
#include <string>

struct ShellLinkFields {
  std::string target, description, workDir;
};

// Nothing when the file cannot be loaded as a shortcut.
std::optional<ShellLinkFields> ReadShellLink(const std::string& path);
