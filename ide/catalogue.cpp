#include "ide/catalogue.h"

#include <windows.h>

#include <vector>

#include "state/paths.h"
#include "support/errors.h"
#include "support/message_box.h"
#include "support/registry.h"
#include "support/text.h"

std::string GetIdeRootDir(IdeKind kind) {
  RegKey key;
  if (!OpenRegistryKey(HKEY_LOCAL_MACHINE, IdeRegistryKey(kind), key)) return std::string();
  return AddBackslash(ReadRegistryString(key.Get(), "RootDir"));
}

std::string GetIdeHelpDir(IdeKind kind) { return GetIdeRootDir(kind) + "HELP\\"; }

std::string GetIdeHelpIndexFile(IdeKind kind) { return GetIdeHelpDir(kind) + IdeEditionOf(kind).helpContentsFile; }

FileVersion GetFileVersion(const std::string& fileName) {
  FileVersion version;
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
  if (size == 0) return version;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(fileName.c_str(), 0, size, block.data())) return version;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info || length < sizeof *info)
    return version;
  version.ms = info->dwFileVersionMS;
  version.ls = info->dwFileVersionLS;
  return version;
}

bool IsIdeVersionCompatible(IdeKind kind) {
  const int32_t expected = IdeEditionOf(kind).expectedBuild;
  try {
    const std::string exe = GetIdeRootDir(kind) + "Bin\\" + GetIdeExeName(kind) + ".exe";
    const FileVersion version = GetFileVersion(exe);
    return expected == kAnyBuild || static_cast<uint32_t>(expected) == version.ls;
  } catch (const std::exception&) {
    return false;
  }
}

bool IsIdeRunning() {
  // Every probe is made, whatever the earlier ones found.
  const bool palette = FindWindowA("TAlignPalette", nullptr) != nullptr;
  const bool inspector = FindWindowA("TPropertyInspector", nullptr) != nullptr;
  const bool builder = FindWindowA("TAppBuilder", nullptr) != nullptr;
  return palette && inspector && builder;
}

bool CheckIdeNotRunning(const std::string& displayName) {
  if (!IsIdeRunning()) return true;
  const std::string message = FormatText(
      "You have one or more of the following applications running. It is highly recommended that you shut down "
      "these applications before you can install %s.\r\n\r\nBorland Delphi\r\nBorland C++ Builder\r\n",
      {displayName});
  return ShowMessage(message, kCaptionWarning, MB_OKCANCEL | MB_ICONERROR) == IDOK;
}
