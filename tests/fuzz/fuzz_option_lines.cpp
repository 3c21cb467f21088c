// The option include file rewrite over any lines: the first line of the
// input gives the installed options (";"-separated), the rest is the file.
#include <stdexcept>

#include "ide/option_lines.h"
#include "support/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::vector<std::string> lines = SplitLines(std::string(reinterpret_cast<const char*>(data), size));
  if (lines.empty()) return 0;
  StringList options;
  std::string name;
  for (char c : lines[0] + ";") {
    if (c == ';') {
      options.Add(OptionName(name));
      name.clear();
    } else {
      name += c;
    }
  }
  lines.erase(lines.begin());
  const std::vector<std::string> before = lines;
  RewriteDefineLines(lines, options);
  if (lines.size() != before.size()) throw std::logic_error("the rewrite changed the number of lines");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string a, b;
    if (lines[i] != before[i] && !(ParseDefineLine(before[i], a) && ParseDefineLine(lines[i], b) && a == b))
      throw std::logic_error("a line that is no define line was changed");
  }
  // A second rewrite with the same options changes nothing more.
  std::vector<std::string> again = lines;
  RewriteDefineLines(again, options);
  if (again != lines) throw std::logic_error("the rewrite is not stable");
  return 0;
}
