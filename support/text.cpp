#include "support/text.h"

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
}  // namespace

bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

std::string FormatText(const std::string& format, std::initializer_list<std::string> args) {
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      char kind = format[i + 1];
      if (kind == '%') {
        out += '%';
        ++i;
        continue;
      }
      if ((kind == 's' || kind == 'd') && next != args.end()) {
        out += *next++;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

std::string Trim(const std::string& text, const char* chars) {
  const size_t begin = text.find_first_not_of(chars);
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(chars) - begin + 1);
}

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}
