#pragma once
// Whole-file reads and writes for fakeide and its tools.
#include <string>

bool ReadWholeFile(const std::string& path, std::string& text);
// Creates or replaces the file; false when it could not be written whole.
bool WriteWholeFile(const std::string& path, const std::string& text);
