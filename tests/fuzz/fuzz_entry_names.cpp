// Where an archive entry of any name is written: inside the folder it is
// joined to, or nowhere.
#include <stdexcept>

#include "extract/entry_rules.h"
#include "unrar/header_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const std::string safe = SafeArchivePath(name);
  if (safe.empty()) return 0;
  if (safe.find(':') != std::string::npos || safe[0] == '\\' || safe.find("\\\\") != std::string::npos)
    throw std::logic_error("leaves its folder: " + safe);
  std::string part;
  for (char c : safe + "\\") {
    if (c != '\\') {
      part += c;
      continue;
    }
    if (part.empty() || part == "." || part == ".." || IsReservedFileName(part))
      throw std::logic_error("a name Windows treats specially passed: " + safe);
    part.clear();
  }
  const std::string target = ExtractTarget("C:\\Dest\\", "", name);
  if (target.compare(0, 8, "C:\\Dest\\") != 0) throw std::logic_error("written outside: " + target);
  for (const std::string& folder : ParentFolders(target))
    if (folder.size() < 7) throw std::logic_error("creates a folder above the destination: " + folder);
  return 0;
}
