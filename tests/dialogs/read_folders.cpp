#include "tests/dialogs/read_folders.h"

#include <windows.h>

#include "support/handles.h"

void ReadFoldersUpTo(const std::string& path) {
  for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1)) {
    WIN32_FIND_DATAA found;
    FindHandle h(FindFirstFileA((path.substr(0, end + 1) + "*").c_str(), &found));
    if (!h) continue;
    while (FindNextFileA(h.Get(), &found)) {
    }
  }
}
