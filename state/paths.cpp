#include "state/paths.h"

#include "support/string_list.h"

namespace {
size_t LastDelimiter(const std::string& path) { return path.find_last_of("\\:"); }
}  // namespace

std::string AddBackslash(const std::string& path) { return (path.empty() || path.back() == '\\') ? path : path + '\\'; }

std::string RemoveBackslash(const std::string& path) {
  return (!path.empty() && path.back() == '\\') ? path.substr(0, path.size() - 1) : path;
}

std::string ExtractFilePath(const std::string& path) {
  size_t d = LastDelimiter(path);
  return d == std::string::npos ? std::string() : path.substr(0, d + 1);
}

std::string ExtractFileName(const std::string& path) {
  size_t d = LastDelimiter(path);
  return d == std::string::npos ? path : path.substr(d + 1);
}

std::string ExtractFileExt(const std::string& path) {
  size_t dot = path.find_last_of(".\\:");
  return (dot == std::string::npos || path[dot] != '.') ? std::string() : path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  size_t dot = path.find_last_of(".\\:");
  if (dot == std::string::npos || path[dot] != '.') return path + ext;
  return path.substr(0, dot) + ext;
}

std::string ExtractFileDrive(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    size_t server_end = path.find('\\', 2);
    if (server_end == std::string::npos || server_end == 2) return std::string();
    size_t share_end = path.find('\\', server_end + 1);
    if (share_end == server_end + 1) return std::string();
    return path.substr(0, share_end);
  }
  return std::string();
}

bool IsFullPath(const std::string& path) {
  const std::string drive = ExtractFileDrive(path);
  if (drive.empty()) return false;
  if (drive.size() == 2) {
    char letter = drive[0];
    bool is_letter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return is_letter && path.size() >= 3 && path[2] == '\\';
  }
  return true;
}

void ReplaceAt(std::string& text, size_t pos, const std::string& token, const std::string& value) {
  if (pos == 0 || pos > text.size() + 1) return;
  text.erase(pos - 1, token.size());
  text.insert(pos - 1, value);
}

std::string ExpandTemplates(const std::string& text, const std::vector<TTemplateInfo>& table) {
  std::string result = text;
  for (const TTemplateInfo& entry : table) {
    if (entry.Token.empty()) continue;
    size_t at = result.find(entry.Token);
    while (at != std::string::npos) {
      const std::string value = entry.Resolve();
      ReplaceAt(result, at + 1, entry.Token, value);
      at = result.find(entry.Token, at + value.size());
    }
  }
  return result;
}

void CreateFoldersWith(const std::string& path_in, StringList* created,
                       const std::function<bool(const std::string&)>& folderExists,
                       const std::function<void(const std::string&)>& createFolder) {
  if (path_in.empty()) return;
  const std::string path = RemoveBackslash(path_in);
  const std::string parent = ExtractFilePath(path);
  if (path.size() < 3) return;  // a drive such as C: ends the climb
  if (folderExists(path)) return;
  if (parent == path) return;
  CreateFoldersWith(parent, created, folderExists, createFolder);
  createFolder(path);
  if (created) created->Add(path);
}
