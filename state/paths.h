#pragma once
// Path and template helpers that need no system calls. Paths are ANSI byte
// strings with "\" between names; a folder meant for joining ends in "\".
#include <functional>
#include <string>
#include <vector>

class StringList;

std::string AddBackslash(const std::string& path);     // "\" appended unless empty or already there
std::string RemoveBackslash(const std::string& path);  // one trailing "\" removed
std::string ExtractFilePath(const std::string& path);  // up to and including the last "\" or ":"
std::string ExtractFileName(const std::string& path);  // after the last "\" or ":"
std::string ExtractFileExt(const std::string& path);   // from the last "." of the file name, dot included
std::string ChangeFileExt(const std::string& path, const std::string& ext);
// "C:" for a drive path, "\\server\share" for a network path, else empty.
std::string ExtractFileDrive(const std::string& path);
// True for a path that names a folder from a drive root or a network share
// ("C:\..." or "\\server\share..."), the only kind a destination may be.
bool IsFullPath(const std::string& path);

// Deletes as many bytes as `token` has at the 1-based `pos` and inserts `value` there.
void ReplaceAt(std::string& text, size_t pos, const std::string& token, const std::string& value);

struct TTemplateInfo {
  std::string Token;
  std::function<std::string()> Resolve;
};

// Replaces every occurrence of each table token (case significant), table
// entry by table entry. The search for a token goes on after the value just
// inserted, so a value holding its own token cannot make it loop.
std::string ExpandTemplates(const std::string& text, const std::vector<TTemplateInfo>& table);

// The climb of CreateFolders with the two file-system calls passed in:
// creates `path` and its missing parents, appending each folder it creates
// (outermost first, without trailing "\") to `created` when given.
void CreateFoldersWith(const std::string& path, StringList* created,
                       const std::function<bool(const std::string&)>& folderExists,
                       const std::function<void(const std::string&)>& createFolder);
