#pragma once
// The index lines of the product's help files in the IDE's help contents
// file. Both throw FileError "Cannot open file <path>" when the file cannot be
// read and "Cannot create file <path>" when it cannot be written; lines
// already edited stay edited.
#include <string>

// Removes the first line that refers to `helpFile` and inserts
// ":Index <title> =<helpFile>" after the file's first run of index lines.
void AddHelpIndex(const std::string& helpFile, const std::string& title, const std::string& contentsFile);
// Removes the first line whose value part (after its first "=") equals
// `helpFile` exactly; the file is saved only when a line went.
void RemoveHelpIndex(const std::string& helpFile, const std::string& contentsFile);
