#include "support/string_list.h"

#include "support/text.h"

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  const size_t end = text.find('\0') == std::string::npos ? text.size() : text.find('\0');
  size_t i = 0;
  while (i < end) {
    size_t start = i;
    while (i < end && text[i] != '\r' && text[i] != '\n') ++i;
    lines.push_back(text.substr(start, i - start));
    if (i < end && text[i] == '\r') ++i;
    if (i < end && text[i] == '\n') ++i;
  }
  return lines;
}

std::string LineName(const std::string& line) {
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string LineValue(const std::string& line) {
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int StringList::IndexOf(const std::string& s) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (SameText(items_[i], s)) return static_cast<int>(i);
  return -1;
}

std::string StringList::Value(const std::string& name) const {
  for (const std::string& line : items_) {
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(line.substr(0, eq), name)) return line.substr(eq + 1);
  }
  return std::string();
}

std::string StringList::Text() const {
  std::string text;
  for (const std::string& s : items_) text += s + "\r\n";
  return text;
}
