#include "mksetup/payload.h"

#include <windows.h>

#include <cstdio>
#include <exception>

#include "rarwriter/folder_entries.h"
#include "rarwriter/rar_writer.h"
#include "support/files.h"

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
  if (ReadWholeFile(path, archive) != FileStatus::kOk) {
    error = "cannot read the payload " + path;
    return false;
  }
  if (!IsRarArchive(archive)) {
    error = "the payload " + path + " is not a RAR archive";
    return false;
  }
  return true;
}
