#include "unrar/header_fields.h"

#include <cstring>

#include "extract/entry_rules.h"

void CopyTextField(char* field, std::size_t size, const std::string& text) {
  const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, size - n);
}

std::string BackslashPath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string ExtractTarget(const std::string& destPath, const std::string& destName, const std::string& entryPath) {
  if (!destName.empty()) return destName;
  const std::string safe = SafeArchivePath(entryPath);
  if (safe.empty()) return std::string();
  if (destPath.empty()) return safe;
  const char last = destPath.back();
  return destPath + (last == '\\' || last == '/' ? "" : "\\") + safe;
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Length of the part of `path` that names no folder to create: "C:\",
// "\\server\share\", a leading "\", or nothing.
std::size_t RootLength(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t seps = 0;
    for (std::size_t i = 2; i < path.size(); ++i)
      if (IsSeparator(path[i]) && ++seps == 2) return i + 1;
    return path.size();
  }
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

}  // namespace

std::vector<std::string> ParentFolders(const std::string& target) {
  std::vector<std::string> out;
  for (std::size_t i = RootLength(target); i < target.size(); ++i)
    if (IsSeparator(target[i]) && i > 0 && !IsSeparator(target[i - 1])) out.push_back(target.substr(0, i));
  return out;
}
