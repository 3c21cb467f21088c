#include "state/folders.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "support/handles.h"
#include "support/string_list.h"

void CreateFolders(const std::string& path, StringList* createdList) {
  CreateFoldersWith(path, createdList, FolderExists,
                    [](const std::string& p) { CreateDirectoryA(p.c_str(), nullptr); });
}

std::string GetTempDir() {
  // Sized from what the system reports, so long temporary paths fit.
  DWORD n = GetTempPathA(0, nullptr);
  if (n == 0) return std::string();
  std::vector<char> buffer(n + 1, '\0');
  n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n == 0 || n >= buffer.size()) return std::string();
  return std::string(buffer.data(), n > 3 ? n - 1 : n);
}

std::string MakeTempFileName(const std::string& prefix) {
  char buffer[1024] = {};
  if (GetTempFileNameA(GetTempDir().c_str(), prefix.c_str(), 0, buffer) == 0) return std::string();
  return buffer;
}

std::string GetSystemDir() {
  char buffer[261] = {};
  GetSystemDirectoryA(buffer, sizeof buffer);
  return AddBackslash(buffer);
}

std::string GetWindowsDir() {
  char buffer[261] = {};
  GetWindowsDirectoryA(buffer, sizeof buffer);
  return AddBackslash(buffer);
}

std::string GetProgramFilesDir() { return ExtractFileDrive(GetWindowsDir()) + "\\Program Files\\"; }

std::string GetProgramsMenuDir() {
  char buffer[MAX_PATH + 1] = {};
  LPITEMIDLIST pidl = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &pidl);
  if (pidl) SHGetPathFromIDListA(pidl, buffer);
  ComPtr<IMalloc> malloc;
  if (SHGetMalloc(malloc.Out()) == S_OK && malloc && pidl) malloc->Free(pidl);
  return AddBackslash(buffer);
}

std::vector<TTemplateInfo> FolderTemplates(const IdeHelpDirFn& ideHelpDir) {
  auto help = [ideHelpDir](IdeKind kind) { return [ideHelpDir, kind] { return ideHelpDir(kind); }; };
  return {
      {"%SYSTEM%", GetSystemDir},  {"%WINDOWS%", GetWindowsDir}, {"%PROGRAMFILES%", GetProgramFilesDir},
      {"%C1_HELP%", help(kIdeC1)}, {"%C3_HELP%", help(kIdeC3)},  {"%D2_HELP%", help(kIdeD2)},
      {"%D3_HELP%", help(kIdeD3)}, {"%D4_HELP%", help(kIdeD4)},
  };
}

std::string ExpandFolderTemplates(const std::string& text, const IdeHelpDirFn& ideHelpDir) {
  return ExpandTemplates(text, FolderTemplates(ideHelpDir));
}
