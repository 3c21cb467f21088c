// The line editing of the IDE's help contents file over any text: the first
// line of the input gives "title=helpfile", the rest is the file.
#include <algorithm>
#include <stdexcept>

#include "ide/help_contents.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::vector<std::string> lines = ContentsLines(std::string(reinterpret_cast<const char*>(data), size));
  if (lines.empty()) return 0;
  const std::string first = lines[0];
  lines.erase(lines.begin());
  const std::size_t eq = first.find('=');
  const std::string title = first.substr(0, eq);
  const std::string helpFile = eq == std::string::npos ? std::string() : first.substr(eq + 1);

  if (ContentsLines(ContentsText(lines)) != lines) throw std::logic_error("the file does not read back");
  const std::size_t before = lines.size();
  const bool removed = RemoveIndexLine(lines, helpFile);
  if (lines.size() != before - (removed ? 1 : 0)) throw std::logic_error("removal took the wrong number of lines");
  const std::size_t at = IndexInsertPosition(lines);
  if (at > lines.size()) throw std::logic_error("insert position past the end");
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), IndexLine(title, helpFile));
  // The line just added is the one a removal finds first, unless its title
  // holds "=" itself or an equal line comes before it.
  if (!helpFile.empty() && title.find('=') == std::string::npos) {
    std::vector<std::string> again = lines;
    if (!RemoveIndexLine(again, helpFile)) throw std::logic_error("the added line is not found");
  }
  return 0;
}
