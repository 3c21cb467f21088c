#include "mksetup/payload.h"

#include <windows.h>

#include <cstdio>
#include <exception>

#include "rarwriter/folder_entries.h"
#include "rarwriter/rar_writer.h"

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

namespace {
bool IsRarArchive(const std::string& bytes) { return bytes.compare(0, 6, "Rar!\x1a\x07", 6) == 0; }
}  // namespace

bool LoadPayload(const std::string& path, std::string& archive, std::string& error) {
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) {
    error = "the payload " + path + " does not exist";
    return false;
  }
  if (attr & FILE_ATTRIBUTE_DIRECTORY) {
    try {
      archive = WriteRarArchive(FolderEntries(path));
    } catch (const std::exception& e) {
      error = "cannot pack the folder " + path + ": " + e.what();
      return false;
    }
    return true;
  }
  if (!ReadWholeFile(path, archive)) {
    error = "cannot read the payload " + path;
    return false;
  }
  if (!IsRarArchive(archive)) {
    error = "the payload " + path + " is not a RAR archive";
    return false;
  }
  return true;
}
