// The list and name=value formats of the setup script over any text, and
// the folder templates of its INSTALLDIR key.
#include <stdexcept>

#include "state/paths.h"
#include "support/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  StringList list;
  list.SetText(text);
  // The text form reads back as the same list.
  StringList again;
  again.SetText(list.Text());
  if (again.Items() != list.Items()) throw std::logic_error("list text does not read back");
  for (const std::string& line : list) {
    if (line.find_first_of("\r\n") != std::string::npos) throw std::logic_error("a line holds a break");
    const std::string name = LineName(line);
    if (!name.empty() && name + "=" + LineValue(line) != line) throw std::logic_error("name=value does not rejoin");
    list.Value(name);
    if (list.IndexOf(line) < 0) throw std::logic_error("a line is not found in its own list");
  }
  // Values that hold their own token (or another's) still end.
  const std::vector<TTemplateInfo> table = {{"%SYSTEM%", [] { return std::string("C:\\W\\%SYSTEM%%WINDOWS%"); }},
                                            {"%WINDOWS%", [] { return std::string("%WINDOWS%"); }},
                                            {"%PROGRAMFILES%", [] { return std::string(""); }}};
  ExpandTemplates(text, table);
  IsFullPath(text);
  ExtractFileName(text);
  ExtractFilePath(text);
  ChangeFileExt(text, ".x");
  return 0;
}
