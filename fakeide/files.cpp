#include "fakeide/files.h"

#include <windows.h>

#include "support/handles.h"

bool ReadWholeFile(const std::string& path, std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char buffer[8192];
  DWORD read = 0;
  text.clear();
  for (;;) {
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return false;
    if (read == 0) return true;
    text.append(buffer, read);
  }
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}
