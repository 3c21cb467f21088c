#include "fakeide/edition_marker.h"

#include <windows.h>

#include "setup/paths.h"
#include "support/handles.h"

const char* const kMarkerFileName = "fakeide.ini";

std::string OwnRootDir() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string binDir = RemoveBackslash(ExtractFilePath(std::string(path, length)));
  return ExtractFilePath(binDir);
}

std::string ReadMarkerCode(const std::string& rootDir) {
  FileHandle file(CreateFileA((rootDir + kMarkerFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::string();
  char buffer[16];
  DWORD read = 0;
  if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return std::string();
  std::string code(buffer, read);
  return code.substr(0, code.find_first_of("\r\n"));
}
