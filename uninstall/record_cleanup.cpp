// The product record and the folders the installation created.
#include <windows.h>

#include "ide/product_options.h"
#include "records/product_record.h"
#include "records/record_text.h"
#include "records/uninstall.h"
#include "support/files.h"
#include "support/registry.h"
#include "support/string_list.h"
#include "uninstall/entry.h"
#include "uninstall/removal.h"
#include "uninstall/removal_rules.h"

void RemoveFromProductRecord(const UninstallEntry& entry) {
  if (!entry.productName.empty()) {
    const std::string path = ProductRecordPath(entry.productName);
    std::string folder;
    {
      RegKey key;
      if (OpenRegistryKey(HKEY_CURRENT_USER, path, key)) {
        folder = ReadRegistryString(key.Get(), "FolderName");
        StringList subProducts;
        SplitToList(entry.subProductNames, ';', subProducts);
        for (const std::string& name : subProducts) DeleteRegistryValue(key.Get(), name);
      }
    }
    StringList remaining;
    GetInstalledOptions(entry.productName, remaining);
    if (remaining.Empty())
      RegDeleteKeyA(HKEY_CURRENT_USER, RegistrySubkey(path).c_str());
    else
      UpdateProductOptions(remaining, folder);
  }
  DeleteEmptyRegistryKey(HKEY_CURRENT_USER, kInstalledProductsPath);
  DeleteEmptyRegistryKey(HKEY_CURRENT_USER, kMakerKeyPath);
}

void RemoveCreatedFolders(const UninstallEntry& entry, Leftovers& leftovers) {
  StringList kept;
  for (const std::string& folder : DeepestFirst(entry.folders)) {
    if (!FolderExists(folder) || RemoveDirectoryA(folder.c_str())) continue;
    kept.Add(folder);
    leftovers.folders.push_back(folder);
  }
  if (kept.Count() != entry.folders.Count()) WriteUninstallValue(entry.appName, "FOLDERS", kept.Text());
}
