#include "fakeide/edition_marker.h"

#include <windows.h>

#include "state/paths.h"
#include "support/files.h"

const char* const kMarkerFileName = "fakeide.ini";

std::string OwnRootDir() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string binDir = RemoveBackslash(ExtractFilePath(std::string(path, length)));
  return ExtractFilePath(binDir);
}

std::string ReadMarkerCode(const std::string& rootDir) {
  std::string code;
  if (ReadWholeFile(rootDir + kMarkerFileName, code) != FileStatus::kOk) return std::string();
  return code.substr(0, code.find_first_of("\r\n"));
}
