#include "records/uninstall.h"

#include <initializer_list>
#include <map>
#include <utility>

#include "records/record_text.h"
#include "state/install_state.h"
#include "support/errors.h"
#include "support/registry.h"
#include "support/string_list.h"

namespace {

using NamedValue = std::pair<std::string, std::string>;

// The entry's single values: the parent key and the entry are created one
// after the other, and every failure is left unreported.
void WriteUninstallValues(const std::string& appName, std::initializer_list<NamedValue> values) {
  RegKey root;
  if (!CreateRegistryKey(HKEY_LOCAL_MACHINE, kUninstallRootPath, root)) return;
  RegKey entry;
  if (RegCreateKeyExA(root.Get(), appName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      entry.Out(), nullptr) != ERROR_SUCCESS)
    return;
  for (const NamedValue& v : values) WriteRegistryString(entry.Get(), v.first, v.second);
}

}  // namespace

void WriteUninstallValue(const std::string& appName, const std::string& valueName, const std::string& value) {
  WriteUninstallValues(appName, {{valueName, value}});
}

void WriteUninstallEntry(const std::string& appName, const std::string& uninstallString) {
  WriteUninstallValues(appName, {{"DisplayName", appName}, {"UninstallString", uninstallString}});
}

void WriteUninstallFileList(const std::string& appName, const StringList& files) {
  RegKey key;
  CreateRegistryKey(HKEY_LOCAL_MACHINE, UninstallFilesPath(appName), key);
  for (const std::string& file : files)
    if (!key || !WriteRegistryDword(key.Get(), file, 0)) throw RegistryError(FailedToSetDataMessage(file));
}

namespace {

// A file's count as the table holds it.
struct StoredCount {
  enum class State { kAbsent, kCount, kInvalid } state = State::kAbsent;
  DWORD value = 0;
};

// What one value of the table says, from the call that read it.
StoredCount ReadCount(LONG result, DWORD type, DWORD size, DWORD value) {
  if (result == ERROR_FILE_NOT_FOUND) return {};
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return {StoredCount::State::kInvalid};
  return {StoredCount::State::kCount, value};
}

// The names of the counts table match in any letter case, as the registry
// matches them. Folded here only for names of plain ASCII, which every
// system folds alike; empty for any other name.
std::string FoldedName(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\0') return {};
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

// The counts table read in one pass, when that takes fewer calls than
// asking for each file's count: it holds no more values than the list has
// files, every name is plain ASCII, and every read succeeds. Otherwise it
// is not read, and each count is asked for.
class CountTable {
 public:
  CountTable(const RegKey& key, size_t files) { read_ = key && Read(key.Get(), files); }

  // The stored count of `path` into `out`; false when the table cannot tell.
  bool Find(const std::string& path, StoredCount& out) const {
    const std::string folded = FoldedName(path);
    if (!read_ || folded.empty()) return false;
    const auto it = counts_.find(folded);
    out = it == counts_.end() ? StoredCount{} : it->second;
    return true;
  }
  void Update(const std::string& path, DWORD count) {
    const std::string folded = FoldedName(path);
    if (read_ && !folded.empty()) counts_[folded] = {StoredCount::State::kCount, count};
  }

 private:
  bool Read(HKEY key, size_t files) {
    DWORD values = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        values > files)
      return false;
    std::wstring name(longestName + 1, L'\0');
    for (DWORD i = 0; i < values; ++i) {
      DWORD nameLength = longestName + 1;
      DWORD type = REG_NONE;
      DWORD value = 0;
      DWORD size = sizeof value;
      // A value too long for a count (ERROR_MORE_DATA) ends the reading too.
      if (RegEnumValueW(key, i, &name[0], &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS)
        return false;
      std::string ascii;
      for (DWORD c = 0; c < nameLength; ++c) {
        if (name[c] == 0 || name[c] >= 0x80) return false;
        ascii += static_cast<char>(name[c]);
      }
      counts_[FoldedName(ascii)] = ReadCount(ERROR_SUCCESS, type, size, value);
    }
    return true;
  }

  bool read_ = false;
  std::map<std::string, StoredCount> counts_;
};

// One count, in the table's key (null when it could not be opened); returns
// the new count.
DWORD IncrementSharedFileCountIn(const RegKey& key, const std::string& path, CountTable* table = nullptr) {
  StoredCount stored;
  if (!table || !table->Find(path, stored)) {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG found =
        key ? RegQueryValueExA(key.Get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)
            : ERROR_FILE_NOT_FOUND;
    stored = ReadCount(found, type, size, value);
  }
  if (stored.state == StoredCount::State::kInvalid) throw RegistryError(InvalidDataTypeMessage(path));
  const DWORD count = stored.state == StoredCount::State::kCount ? stored.value + 1 : 1;
  if (!key || !WriteRegistryDword(key.Get(), path, count)) throw RegistryError(FailedToSetDataMessage(path));
  if (table) table->Update(path, count);
  return count;
}

}  // namespace

unsigned long IncrementSharedFileCount(const std::string& path) {
  RegKey key;
  CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  return IncrementSharedFileCountIn(key, path);
}

void IncrementSharedFileCounts(const StringList& files) {
  // The table's key is opened once for the whole list, not once per file.
  RegKey key;
  if (!files.Empty()) CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  CountTable table(key, files.Count());
  for (const std::string& file : files) IncrementSharedFileCountIn(key, file, &table);
}

void RegisterUninstall() {
  const std::string uninstallString = UninstallCommand(Install.InstallDir, Install.AppName);
  WriteUninstallValue(Install.AppName, "PRODUCTNAME", Install.ProductName);
  WriteUninstallValue(Install.AppName, "SUBPRODUCTNAME", Install.SubProductName);
  WriteUninstallFileList(Install.AppName, Install.InstalledFileList);
  IncrementSharedFileCounts(Install.InstalledFileList);
  WriteUninstallValue(Install.AppName, "FOLDERS", Install.CreatedFolderList.Text());
  WriteUninstallValue(Install.AppName, "REGKEYS", Install.RegistryKeyList.Text());
  WriteUninstallValue(Install.AppName, "APPNAME", Install.AppName);
  WriteUninstallValue(Install.AppName, "DELPHIVER", Install.IdeCode);
  WriteUninstallEntry(Install.AppName, uninstallString);
}

void WriteUninstallVersion() { WriteUninstallValue(Install.AppName, "VERSION", Install.Version); }
