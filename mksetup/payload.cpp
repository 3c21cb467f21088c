#include "mksetup/payload.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "rarwriter/folder_entries.h"
#include "rarwriter/rar_writer.h"
#include "support/files.h"
#include "support/text.h"
#include "unrar/rar_headers.h"

const char* const kUninstallerName = "uninstall.exe";

namespace {
bool IsRarArchive(const std::string& bytes) { return bytes.compare(0, 6, "Rar!\x1a\x07", 6) == 0; }

bool IsRootUninstaller(const std::string& name, bool folder) {
  return !folder && SameTextAscii(name, kUninstallerName);
}

bool HasRootUninstaller(const std::vector<RarEntry>& entries) {
  return std::any_of(entries.begin(), entries.end(),
                     [](const RarEntry& e) { return IsRootUninstaller(e.name, e.folder); });
}

// The entries of a ready archive as far as its headers can be read; an
// archive whose headers cannot be read (encrypted, damaged) gives no warning.
std::string MissingUninstallerWarning(const std::string& path, const std::string& archive) {
  const std::vector<ScannedEntry> entries = ScanRarHeaders([&](std::uint64_t offset, void* buffer, std::size_t size) {
    if (offset >= archive.size()) return std::size_t{0};
    const std::size_t n = std::min<std::uint64_t>(size, archive.size() - offset);
    std::memcpy(buffer, archive.data() + offset, n);
    return n;
  });
  if (entries.empty() || std::any_of(entries.begin(), entries.end(),
                                     [](const ScannedEntry& e) { return IsRootUninstaller(e.name, e.folder); }))
    return std::string();
  return "the payload " + path + " has no " + kUninstallerName +
         " at its root: the installed product cannot be removed (give the payload as a folder to have one added)";
}
}  // namespace

bool LoadPayload(const std::string& path, const std::string& uninstallerPath, RarPacking packing, std::string& archive,
                 RarSizes& sizes, std::string& warning, std::string& error) {
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) {
    error = "the payload " + path + " does not exist";
    return false;
  }
  if (attr & FILE_ATTRIBUTE_DIRECTORY) {
    try {
      std::vector<RarEntry> entries = FolderEntries(path);
      if (!HasRootUninstaller(entries)) {
        RarEntry uninstaller;
        uninstaller.name = kUninstallerName;
        if (ReadWholeFile(uninstallerPath, uninstaller.data) != FileStatus::kOk) {
          error = "cannot read the uninstaller " + uninstallerPath;
          return false;
        }
        entries.push_back(std::move(uninstaller));
      }
      RarOptions options;
      options.packing = packing;
      archive = WriteRarArchive(entries, options, &sizes);
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
  warning = MissingUninstallerWarning(path, archive);
  return true;
}
