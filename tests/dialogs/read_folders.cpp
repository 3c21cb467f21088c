#include "tests/dialogs/read_folders.h"

#include <windows.h>

void ReadFoldersUpTo(const std::string& path) {
  for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1)) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path.substr(0, end + 1) + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) continue;
    while (FindNextFileA(h, &found)) {
    }
    FindClose(h);
  }
}
