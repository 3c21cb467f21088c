#include "records/product_record.h"

#include <algorithm>
#include <vector>

#include "ide/product_options.h"
#include "records/record_text.h"
#include "state/paths.h"
#include "support/errors.h"
#include "support/message_box.h"
#include "support/registry.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {

void WriteRecordValue(const RegKey& key, const std::string& name, const std::string& value) {
  if (!key || !WriteRegistryString(key.Get(), name, value)) throw RegistryError(FailedToSetDataMessage(name));
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
  std::vector<std::string> names = RegistryValueNames(key.Get());
  RemoveFirst(names, "Version");
  RemoveFirst(names, "FolderName");
  for (const std::string& name : names) list.Add(name);
}

void WriteProductRecord(const std::string& productName, const std::string& subProductNames, const std::string& version,
                        const std::string& installDir) {
  if (productName.empty()) return;
  RegKey key;
  CreateRegistryKey(HKEY_CURRENT_USER, ProductRecordPath(productName), key);
  WriteRecordValue(key, "Version", version);
  WriteRecordValue(key, "FolderName", RemoveBackslash(installDir));
  StringList subProducts;
  SplitToList(subProductNames, ';', subProducts);
  for (const std::string& name : subProducts) WriteRecordValue(key, name, "");
  StringList installed;
  GetInstalledOptions(productName, installed);
  UpdateProductOptions(installed, installDir);
}

ProductCheckResult CheckInstalledProduct(const std::string& productName, const std::string& version,
                                         std::string& folder) {
  if (productName.empty()) return ProductNotInstalled;
  RegKey key;
  if (!OpenRegistryKey(HKEY_CURRENT_USER, ProductRecordPath(productName), key)) {
    folder.clear();
    return ProductNotInstalled;
  }
  if (SameTextAscii(ReadRegistryString(key.Get(), "Version"), version)) {
    folder = ReadRegistryString(key.Get(), "FolderName");
    return SameVersionInstalled;
  }
  folder.clear();
  return OtherVersionInstalled;
}

bool IsUninstallEntryPresent(const std::string& appName) {
  RegKey key;
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallEntryPath(appName).c_str(), 0, KEY_ALL_ACCESS, key.Out()) ==
         ERROR_SUCCESS;
}

bool ConfirmOverPreviousVersion(const std::string& appName) {
  return ShowMessage(PreviousVersionMessage(appName), kCaptionError, MB_OKCANCEL | MB_ICONERROR) == IDOK;
}

bool ConfirmNoPreviousVersion(const std::string& appName) {
  return !IsUninstallEntryPresent(appName) || ConfirmOverPreviousVersion(appName);
}
