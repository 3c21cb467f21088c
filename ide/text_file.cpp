#include "ide/text_file.h"

#include "support/errors.h"
#include "support/handles.h"
#include "support/text.h"

std::string LoadTextFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(FormatText("Cannot open file %s", {path}));
  std::string text;
  char buffer[16384];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
      throw FileError(FormatText("Cannot read file %s", {path}));
    if (read == 0) return text;
    text.append(buffer, read);
  }
}

void SaveTextFile(const std::string& path, const std::string& text) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(FormatText("Cannot create file %s", {path}));
  DWORD written = 0;
  if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size())
    throw FileError(FormatText("Cannot write file %s", {path}));
}
