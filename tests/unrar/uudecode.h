#pragma once
// Decodes uuencoded text (libarchive keeps its sample archives that way).
#include <string>

// The bytes between "begin" and "end"; empty when there is no "begin" line.
std::string UuDecode(const std::string& text);
