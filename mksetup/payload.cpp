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

// Packing a large tree takes a while: the files and bytes done so far, on
// one line rewritten in place on a terminal (at most four times a second),
// a line per tenth of the bytes elsewhere (a log).
class PackingProgress {
 public:
  PackingProgress() : terminal_(GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_CHAR) {}
  void operator()(const RarProgress& p) {
    const bool last = p.filesDone == p.files;
    const DWORD now = GetTickCount();
    const unsigned tenth = p.bytes ? static_cast<unsigned>(p.bytesDone * 10 / p.bytes) : 10;
    if (terminal_ ? !last && now - shownAt_ < 250 : tenth == shownTenth_ && !last) return;
    shownAt_ = now;
    shownTenth_ = tenth;
    std::fprintf(stderr, "%smksetup: packed %zu of %zu files, %.1f of %.1f MB%s", terminal_ ? "\r" : "", p.filesDone,
                 p.files, static_cast<double>(p.bytesDone) / 1e6, static_cast<double>(p.bytes) / 1e6,
                 terminal_ && !last ? "" : "\n");
    std::fflush(stderr);
  }

 private:
  bool terminal_;
  DWORD shownAt_ = 0;
  unsigned shownTenth_ = 0;
};
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
      options.progress = PackingProgress();
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
