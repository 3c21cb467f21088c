#pragma once
// The entries of a folder tree for the writer: every folder and file below
// `root`, folders before their contents, names sorted, "\" between names,
// in UTF-8 (the file system's own names, whatever the code page).
#include <string>
#include <vector>

#include "rarwriter/rar_writer.h"

// Throws std::filesystem::filesystem_error when the tree cannot be read.
std::vector<RarEntry> FolderEntries(const std::string& root);
