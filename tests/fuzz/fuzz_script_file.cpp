// mksetup's script-file parser over any text: it answers, never crashes, and
// what it accepts is made of known keys, each given once.
#include <set>
#include <stdexcept>

#include "mksetup/script_file.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  ScriptFile out;
  std::string error;
  if (!ParseScriptFile(std::string(reinterpret_cast<const char*>(data), size), out, error)) {
    if (error.empty()) throw std::logic_error("refused without a reason");
    return 0;
  }
  std::set<std::string> seen;
  for (const ScriptFileEntry& e : out.entries)
    if (!IsScriptKey(e.key) || !seen.insert(e.key).second) throw std::logic_error("accepted a bad key: " + e.key);
  return 0;
}
