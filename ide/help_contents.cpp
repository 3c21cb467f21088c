#include "ide/help_contents.h"

#include "support/string_list.h"

namespace {
const char kIndexKeyword[] = ":Index ";
}  // namespace

std::vector<std::string> ContentsLines(const std::string& text) { return SplitLines(text); }

std::string ContentsText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string IndexLine(const std::string& title, const std::string& helpFile) {
  return kIndexKeyword + title + " =" + helpFile;
}

bool RemoveIndexLine(std::vector<std::string>& lines, const std::string& helpFile) {
  if (helpFile.empty()) return false;
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    if (LineValue(*it) == helpFile) {
      lines.erase(it);
      return true;
    }
  }
  return false;
}

size_t IndexInsertPosition(const std::vector<std::string>& lines) {
  size_t pos = 0;
  while (pos < lines.size() && lines[pos].find(kIndexKeyword) == std::string::npos) ++pos;
  while (pos < lines.size() && lines[pos].compare(0, sizeof kIndexKeyword - 1, kIndexKeyword) == 0) ++pos;
  return pos;
}
