#pragma once
// The pure rules of our RAR library: the fixed-size text fields of the
// header record and where an extracted entry is written.
#include <cstddef>
#include <string>
#include <vector>

// Copies `text` into a field of `size` bytes, cut to size - 1 bytes and
// always NUL-terminated.
void CopyTextField(char* field, std::size_t size, const std::string& text);

// An archive path with "\" between names, as the record carries it.
std::string BackslashPath(const std::string& path);

// Where RARProcessFile writes an entry: `destName` when given, else the
// entry's path made safe (drives, leading separators and ".." dropped)
// under `destPath` (the current folder when empty). Empty when the entry's
// path has nothing left to write to.
std::string ExtractTarget(const std::string& destPath, const std::string& destName, const std::string& entryPath);

// The folders to create before writing `target`, outermost first: every
// prefix ending before a separator, past any drive or UNC share root.
std::vector<std::string> ParentFolders(const std::string& target);
