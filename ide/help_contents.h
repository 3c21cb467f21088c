#pragma once
// The index lines of an IDE help contents file (no Windows headers): how the
// file is cut into lines and written back, which line names a help file, and
// where a new index line goes.
#include <string>
#include <vector>

// The file's text as lines: CR LF, a lone LF and a lone CR each end a line;
// a NUL byte ends the text.
std::vector<std::string> ContentsLines(const std::string& text);
// Every line followed by CR LF, the last one included.
std::string ContentsText(const std::vector<std::string>& lines);

// ":Index " + title + " =" + helpFile.
std::string IndexLine(const std::string& title, const std::string& helpFile);

// Deletes the first line whose text after its first "=" equals `helpFile`
// byte for byte; later equal lines stay. False when none is equal (and always
// for an empty `helpFile`, which would otherwise match any line without "=").
bool RemoveIndexLine(std::vector<std::string>& lines, const std::string& helpFile);

// Where a new index line goes: past the leading lines that hold no ":Index "
// anywhere, then past the lines that begin with ":Index " (case significant).
size_t IndexInsertPosition(const std::vector<std::string>& lines);
