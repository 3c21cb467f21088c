#include "extract/entry_rules.h"

#include "support/string_list.h"
#include "support/text.h"

bool IsReservedFileName(const std::string& name) {
  if (name.empty()) return false;
  if (name.back() == '.' || name.back() == ' ' || name.find(':') != std::string::npos) return true;
  // Windows takes the device for the part before the first dot, blanks
  // before that dot ignored ("nul .txt" too).
  std::string base = UpperAscii(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

std::string SafeArchivePath(const std::string& entryPath) {
  std::string out;
  std::string part;
  std::string path = entryPath;
  if (path.size() >= 2 && path[1] == ':') path.erase(0, 2);  // a drive
  bool refused = false;
  auto flush = [&] {
    if (part == "." || part == "..") {
      // dropped: the path stays inside its folder
    } else if (IsReservedFileName(part)) {
      refused = true;
    } else if (!part.empty()) {
      if (!out.empty()) out += '\\';
      out += part;
    }
    part.clear();
  };
  for (char c : path) {
    if (c == '\\' || c == '/') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  return refused ? std::string() : out;
}

bool IsHelpFile(const StringList& helpFiles, const std::string& name) {
  for (const std::string& line : helpFiles)
    if (line.find('=') != std::string::npos && SameText(LineName(line), name)) return true;
  return helpFiles.Contains(name);
}
