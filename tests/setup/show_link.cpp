// Prints what the shell reads from shortcut files (for the demo):
//   show_link.exe LINKFILE...
#include <objbase.h>

#include <cstdio>

#include "tests/setup/shell_link_reader.h"

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    std::printf("%s\n", argv[i]);
    if (const std::optional<ShellLinkFields> link = ReadShellLink(argv[i])) {
      std::printf("  target:         %s\n  description:    %s\n  working folder: %s\n", link->target.c_str(),
                  link->description.c_str(), link->workDir.c_str());
    } else {
      std::printf("  (not a shortcut)\n");
      ++failures;
    }
  }
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
