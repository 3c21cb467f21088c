#pragma once
// Byte-string helpers shared by every subsystem (no Windows headers here).
#include <initializer_list>
#include <string>
#include <vector>

// Equal without regard to letter case, by the user's locale rules (on Windows
// the system's comparison; in native builds ASCII folding).
bool SameText(const std::string& a, const std::string& b);

// Equal without regard to the case of the ASCII letters only.
bool SameTextAscii(const std::string& a, const std::string& b);
std::string UpperAscii(std::string s);

// Replaces each "%s" or "%d" of `format`, in order, with the next argument.
// "%%" stands for one percent sign; a placeholder without argument stays.
std::string FormatText(const std::string& format, std::initializer_list<std::string> args);

// `text` without the leading and trailing characters that are in `chars`.
std::string Trim(const std::string& text, const char* chars = " \t");

// The pieces of `text` between occurrences of `separator`, empty pieces
// included: "a,,b," gives "a", "", "b", "". (For lists that also break at
// line ends, see SplitLines.)
std::vector<std::string> SplitOn(const std::string& text, char separator);
