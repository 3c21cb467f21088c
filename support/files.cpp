#include "support/files.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

// Closes the stream on every path; a failing close counts as a failed transfer.
class StdioFile {
 public:
  StdioFile(const std::string& path, const char* mode) : f_(std::fopen(path.c_str(), mode)) {}
  ~StdioFile() {
    if (f_) std::fclose(f_);
  }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;
  FILE* Get() const { return f_; }
  bool Close() {
    FILE* f = f_;
    f_ = nullptr;
    return std::fclose(f) == 0;
  }

 private:
  FILE* f_;
};

}  // namespace

FileStatus ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  StdioFile file(path, "rb");
  if (!file.Get()) return FileStatus::kCannotOpen;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.Get())) > 0) bytes.append(buffer, n);
  // A read that fails half-way must not pass for the whole file.
  if (std::ferror(file.Get())) {
    bytes.clear();
    return FileStatus::kFailedPartWay;
  }
  return FileStatus::kOk;
}

FileStatus WriteWholeFile(const std::string& path, const std::string& bytes) {
  StdioFile file(path, "wb");
  if (!file.Get()) return FileStatus::kCannotOpen;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.Get()) == bytes.size();
  return file.Close() && written ? FileStatus::kOk : FileStatus::kFailedPartWay;
}

#ifdef _WIN32
bool FileExists(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}
#else
bool FileExists(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && !S_ISDIR(s.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}
#endif
