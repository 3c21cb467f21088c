#pragma once
// Whole files and existence checks, shared by the installer, the tools and
// the tests. C stdio, not iostreams: the installer links this and its size
// matters. Paths are ANSI byte strings.
#include <string>

// What became of a whole-file read or write. Not convertible to bool on
// purpose: a caller says which outcomes it tells apart.
enum class FileStatus {
  kOk,
  kCannotOpen,     // the file could not be opened (read) or created (write)
  kFailedPartWay,  // opened, but a read or write failed: for a read, `bytes`
                   // is then empty; a write may have left part of the file
};

// Every byte of the file at `path` into `bytes`.
FileStatus ReadWholeFile(const std::string& path, std::string& bytes);
// Creates or truncates the file at `path` and writes `bytes` into it.
FileStatus WriteWholeFile(const std::string& path, const std::string& bytes);

// True for an existing file (a folder is no file), and for an existing folder.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
