#include "extract/entry_rules.h"

#include "support/string_list.h"
#include "support/text.h"

std::string SafeArchivePath(const std::string& entryPath) {
  std::string out;
  std::string part;
  std::string path = entryPath;
  if (path.size() >= 2 && path[1] == ':') path.erase(0, 2);  // a drive
  auto flush = [&] {
    // A colon left inside a component would name a drive or a stream: dropped.
    if (!part.empty() && part != "." && part != ".." && part.find(':') == std::string::npos) {
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
  return out;
}

bool IsHelpFile(const StringList& helpFiles, const std::string& name) {
  for (const std::string& line : helpFiles)
    if (line.find('=') != std::string::npos && SameText(LineName(line), name)) return true;
  return helpFiles.Contains(name);
}
