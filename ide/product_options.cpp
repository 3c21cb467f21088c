#include "ide/product_options.h"

#include <algorithm>
#include <vector>

#include "ide/option_lines.h"
#include "ide/text_file.h"
#include "records/record_text.h"
#include "setup/paths.h"
#include "support/handles.h"
#include "support/registry.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {

bool IsFile(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ValueNames(HKEY key) {
  std::vector<std::string> names;
  DWORD count = 0;
  DWORD longest = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<char> name(longest + 1);
  for (DWORD i = 0;; ++i) {
    DWORD size = static_cast<DWORD>(name.size());
    if (RegEnumValueA(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), size);
  }
  return names;
}

void RemoveFirst(std::vector<std::string>& names, const std::string& name) {
  auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return SameText(n, name); });
  if (it != names.end()) names.erase(it);
}

}  // namespace

void GetInstalledOptions(const std::string& productName, StringList& list) {
  list.Clear();
  RegKey key;
  if (!OpenRegistryKey(HKEY_CURRENT_USER, ProductRecordPath(productName), key)) return;
  std::vector<std::string> names = ValueNames(key.Get());
  RemoveFirst(names, "Version");
  RemoveFirst(names, "FolderName");
  for (const std::string& name : names) list.Add(name);
}

void UpdateProductOptions(const std::string& productName, const std::string& installDir) {
  if (installDir.empty()) return;
  const std::string path = AddBackslash(installDir) + "units\\prod.inc";
  if (!IsFile(path)) return;
  StringList installed;
  GetInstalledOptions(productName, installed);
  StringList options;
  for (const std::string& name : installed) options.Add(OptionName(name));
  std::vector<std::string> lines = SplitLines(LoadTextFile(path));
  RewriteDefineLines(lines, options);
  SaveTextFile(path, StringList(lines).Text());
}
