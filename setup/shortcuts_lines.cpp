#include "setup/shortcuts_lines.h"

#include "state/paths.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {
// Every byte of code 32 or less but NUL, which cannot occur: a line ends at it.
const char kBlanksAndControls[] =
    "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10"
    "\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x20";
}  // namespace

std::vector<ProgramLink> ProgramLinksOf(const StringList& lines, const std::string& programsDir,
                                        const std::string& installDir) {
  std::vector<ProgramLink> links;
  for (const std::string& line : lines) {
    const std::string name = LineName(line);
    // Only the file name counts: the shortcut starts a file at the top of InstallDir.
    const std::string file = ExtractFileName(Trim(lines.Value(name), kBlanksAndControls));
    links.push_back({programsDir + ChangeFileExt(name, ".lnk"), installDir + file, name});
  }
  return links;
}
