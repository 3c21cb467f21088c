#pragma once
// Whole text files of the IDE and the product, read and replaced in one go.
#include <string>

// The file's bytes. Throws FileError "Cannot open file <path>" or "Cannot read
// file <path>" (a read that fails half-way must not pass for the whole file,
// which callers write back).
std::string LoadTextFile(const std::string& path);
// Replaces the file with `text`. Throws FileError "Cannot create file <path>"
// or "Cannot write file <path>".
void SaveTextFile(const std::string& path, const std::string& text);
