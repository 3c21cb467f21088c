#include "records/uninstall.h"

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "records/record_text.h"
#include "setup/install_state.h"
#include "support/errors.h"
#include "support/registry.h"
#include "support/string_list.h"
#include "support/worker_thread.h"

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

namespace {

// The files from `begin` to `end` (not included) in the list of the entry.
void WriteUninstallFileListPart(const std::string& appName, const StringList& files, size_t begin, size_t end) {
  RegKey key;
  CreateRegistryKey(HKEY_LOCAL_MACHINE, UninstallFilesPath(appName), key);
  for (size_t i = begin; i < end; ++i)
    if (!key || !WriteRegistryDword(key.Get(), files[i], 0)) throw RegistryError(FailedToSetDataMessage(files[i]));
}

}  // namespace

void WriteUninstallFileList(const std::string& appName, const StringList& files) {
  WriteUninstallFileListPart(appName, files, 0, files.Count());
}

namespace {

// A raised count, as it was before: enough to take the raise back.
struct Raise {
  std::string path;
  bool existed;
  DWORD before;
  size_t index;  // in the list of files
};

// One count, in the table's key (null when it could not be opened).
Raise IncrementSharedFileCountIn(const RegKey& key, const std::string& path, size_t index = 0) {
  DWORD count = 0;
  DWORD type = 0;
  DWORD size = sizeof count;
  const LONG found =
      key ? RegQueryValueExA(key.Get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size)
          : ERROR_FILE_NOT_FOUND;
  if (found == ERROR_FILE_NOT_FOUND) {
    count = 0;
  } else if (found != ERROR_SUCCESS || type != REG_DWORD || size != sizeof count) {
    throw RegistryError(InvalidDataTypeMessage(path));
  }
  if (!key || !WriteRegistryDword(key.Get(), path, count + 1)) throw RegistryError(FailedToSetDataMessage(path));
  return {path, found == ERROR_SUCCESS, count, index};
}

// Under Wine every registry call waits for the server, and the calls of
// several threads overlap their waits: the file list is written in two
// halves and the counts are raised in four shares, each on a thread of its
// own. A name falls in the same share in any letter case, as the registry
// matches names, so that no count is read and written by two threads.
constexpr unsigned kCountShares = 4;

unsigned ShareOf(const std::string& path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring name(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &name[0], n);
  if (n > 0) CharUpperBuffW(&name[0], static_cast<DWORD>(n));
  unsigned hash = 0;
  for (wchar_t c : name) hash = hash * 31 + static_cast<unsigned>(c);
  return hash % kCountShares;
}

// One share's raises, in the order of the list, up to its first failure.
struct CountShare {
  std::vector<Raise> raises;
  size_t failedAt = SIZE_MAX;
  std::exception_ptr error;
};

void RaiseShare(const RegKey& key, const StringList& files, const std::vector<unsigned>& shareOf, unsigned share,
                CountShare& out) {
  for (size_t i = 0; i < files.Count(); ++i) {
    if (shareOf[i] != share) continue;
    try {
      out.raises.push_back(IncrementSharedFileCountIn(key, files[i], i));
    } catch (...) {
      out.failedAt = i;
      out.error = std::current_exception();
      return;
    }
  }
}

// Puts back the counts raised for the files from `from` on, the last raise first.
void TakeBack(const RegKey& key, const CountShare (&shares)[kCountShares], size_t from) {
  if (!key) return;
  for (const CountShare& share : shares)
    for (auto r = share.raises.rbegin(); r != share.raises.rend() && r->index >= from; ++r) {
      if (r->existed)
        WriteRegistryDword(key.Get(), r->path, r->before);
      else
        RegDeleteValueA(key.Get(), r->path.c_str());
    }
}

// The file list and the shared counts at once. The outcome is that of
// writing the list and then raising the counts in the order of the list:
// when the list fails, every raise is taken back and the error of the first
// file that failed is raised; when a count fails, the list is whole and the
// counts of the files after the first that failed are taken back. (Not
// quite for the list: were one value refused while the key takes others,
// which has not been seen, the other half's values would stay.)
void WriteFileListAndCounts(const std::string& appName, const StringList& files) {
  RegKey key;
  if (!files.Empty()) CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  std::vector<unsigned> shareOf;
  for (const std::string& file : files) shareOf.push_back(ShareOf(file));
  CountShare shares[kCountShares];
  {
    const size_t half = files.Count() / 2;
    WorkerThread front([&] { WriteUninstallFileListPart(appName, files, 0, half); });
    WorkerThread back([&] { WriteUninstallFileListPart(appName, files, half, files.Count()); });
    std::vector<std::unique_ptr<WorkerThread>> others;
    for (unsigned share = 1; share < kCountShares; ++share)
      others.push_back(
          std::make_unique<WorkerThread>([&, share] { RaiseShare(key, files, shareOf, share, shares[share]); }));
    RaiseShare(key, files, shareOf, 0, shares[0]);
    for (auto& other : others) other->Join();
    try {
      front.Join();
      back.Join();
    } catch (...) {
      TakeBack(key, shares, 0);
      throw;
    }
  }
  const CountShare* first = &shares[0];
  for (const CountShare& share : shares)
    if (share.failedAt < first->failedAt) first = &share;
  if (!first->error) return;
  TakeBack(key, shares, first->failedAt + 1);
  std::rethrow_exception(first->error);
}

}  // namespace

unsigned long IncrementSharedFileCount(const std::string& path) {
  RegKey key;
  CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  return IncrementSharedFileCountIn(key, path).before + 1;
}

void IncrementSharedFileCounts(const StringList& files) {
  // The table's key is opened once for the whole list, not once per file.
  RegKey key;
  if (!files.Empty()) CreateRegistryKey(HKEY_CURRENT_USER, kSharedFileCountsPath, key);
  for (const std::string& file : files) IncrementSharedFileCountIn(key, file);
}

void RegisterUninstall() {
  const std::string uninstallString = UninstallCommand(Install.InstallDir, Install.AppName);
  WriteUninstallValue(Install.AppName, "PRODUCTNAME", Install.ProductName);
  WriteUninstallValue(Install.AppName, "SUBPRODUCTNAME", Install.SubProductName);
  WriteFileListAndCounts(Install.AppName, Install.InstalledFileList);
  WriteUninstallValue(Install.AppName, "FOLDERS", Install.CreatedFolderList.Text());
  WriteUninstallValue(Install.AppName, "REGKEYS", Install.RegistryKeyList.Text());
  WriteUninstallValue(Install.AppName, "APPNAME", Install.AppName);
  WriteUninstallValue(Install.AppName, "DELPHIVER", Install.IdeCode);
  WriteUninstallEntry(Install.AppName, uninstallString);
}

void WriteUninstallVersion() { WriteUninstallValue(Install.AppName, "VERSION", Install.Version); }
