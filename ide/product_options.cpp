#include "ide/product_options.h"

#include <vector>

#include "ide/option_lines.h"
#include "ide/text_file.h"
#include "state/paths.h"
#include "support/files.h"
#include "support/string_list.h"
#include "support/text.h"

void UpdateProductOptions(const StringList& installedOptions, const std::string& installDir) {
  if (installDir.empty()) return;
  const std::string path = AddBackslash(installDir) + "units\\prod.inc";
  if (!FileExists(path)) return;
  StringList options;
  for (const std::string& name : installedOptions) options.Add(OptionName(name));
  std::vector<std::string> lines = SplitLines(LoadTextFile(path));
  RewriteDefineLines(lines, options);
  SaveTextFile(path, StringList(lines).Text());
}
