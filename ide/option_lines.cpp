#include "ide/option_lines.h"

#include "support/string_list.h"
#include "support/text.h"

namespace {

bool IsWhiteSpace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

bool IsNameChar(char c) {
  return c == '$' || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

size_t SkipWhiteSpace(const std::string& line, size_t i) {
  while (i < line.size() && IsWhiteSpace(line[i])) ++i;
  return i;
}

const char kDefine[] = "{$DEFINE";
const size_t kDefineLength = sizeof kDefine - 1;
const char kMarkerLine[] = "{$I zx.inc}";

}  // namespace

bool ParseDefineLine(const std::string& line, std::string& outName) {
  size_t i = SkipWhiteSpace(line, 0);
  if (line.compare(i, 2, "//") == 0) i = SkipWhiteSpace(line, i + 2);
  if (i >= line.size() || !SameTextAscii(line.substr(i, kDefineLength), kDefine)) return false;
  i = SkipWhiteSpace(line, i + kDefineLength);
  size_t end = i;
  while (end < line.size() && IsNameChar(line[end])) ++end;
  outName = line.substr(i, end - i);
  return true;
}

std::string DefineLineText(const std::string& name, bool enabled) {
  return std::string(enabled ? "" : "//") + "  " + kDefine + " " + name + "}";
}

std::string OptionName(const std::string& subProductName) {
  std::string name;
  for (char c : subProductName)
    if (c != ' ') name += c;
  return name;
}

void RewriteDefineLines(std::vector<std::string>& lines, const StringList& options) {
  for (std::string& line : lines) {
    if (SameTextAscii(line, kMarkerLine)) return;
    std::string name;
    if (ParseDefineLine(line, name)) line = DefineLineText(name, options.Contains(name));
  }
}
