#pragma once
// The define lines of a product's option include file and their rewrite
// (no Windows headers): each define line before the "{$I zx.inc}" line is
// switched on for an installed option and commented out otherwise.
#include <string>
#include <vector>

class StringList;

// True for a define line: optional white space, optionally "//" and white
// space, "{$DEFINE" in any case, white space, then the name (the longest run
// of "$", digits, ASCII letters and "_", possibly empty) into `outName`.
bool ParseDefineLine(const std::string& line, std::string& outName);

// "  {$DEFINE name}" when enabled, "//  {$DEFINE name}" otherwise.
std::string DefineLineText(const std::string& name, bool enabled);

// The option name a sub-product name stands for in the file: blanks removed.
std::string OptionName(const std::string& subProductName);

// Rewrites every define line before the first line equal to "{$I zx.inc}"
// (ASCII case ignored): enabled when its name is among `options` (without
// regard to case). Other lines stay as they are.
void RewriteDefineLines(std::vector<std::string>& lines, const StringList& options);
