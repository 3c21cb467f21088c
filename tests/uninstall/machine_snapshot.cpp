#include "tests/uninstall/machine_snapshot.h"

#include <windows.h>

#include <cstdio>

#include "rarwriter/crc32.h"
#include "tests/harness/harness.h"

namespace snapshot {

namespace {

std::string Hex(const BYTE* data, DWORD size) {
  std::string out;
  char byte[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(byte, sizeof byte, "%02x", data[i]);
    out += byte;
  }
  return out;
}

void WalkKey(HKEY root, const std::string& label, const std::string& path, Lines& lines) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  lines.insert(label + path);
  std::vector<char> name(32768);
  std::vector<BYTE> data(1 << 16);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS) break;
    lines.insert(label + path + " :: " + std::string(name.data(), nameSize) + " = " + std::to_string(type) + ":" +
                 Hex(data.data(), dataSize));
  }
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size());
    if (RegEnumKeyExA(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(name.data(), nameSize);
  }
  RegCloseKey(key);
  for (const std::string& sub : subkeys) WalkKey(root, label, path + "\\" + sub, lines);
}

void WalkFolder(const std::string& folder, const std::string& skip, Lines& lines) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subfolders;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Wine links the user's Desktop, Documents and the like to the home
      // folder outside the prefix: not the machine under test.
      if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (lstrcmpiA((path + "\\").c_str(), skip.c_str()) == 0) continue;
      lines.insert(path + "\\");
      subfolders.push_back(path + "\\");
    } else {
      const std::string bytes = harness::ReadFileBytes(path);
      lines.insert(path + " " + std::to_string(bytes.size()) + " " + std::to_string(Crc32(bytes.data(), bytes.size())));
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
  for (const std::string& sub : subfolders) WalkFolder(sub, skip, lines);
}

}  // namespace

Lines TakeRegistry() {
  Lines lines;
  WalkKey(HKEY_CURRENT_USER, "HKCU\\", "Software", lines);
  WalkKey(HKEY_LOCAL_MACHINE, "HKLM\\", "Software", lines);
  return lines;
}

Lines TakeFiles() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  char longTemp[MAX_PATH] = {};
  if (!GetLongPathNameA(temp, longTemp, sizeof longTemp)) lstrcpyA(longTemp, temp);
  Lines lines;
  WalkFolder("C:\\", longTemp, lines);
  return lines;
}

std::vector<std::string> Differences(const Lines& before, const Lines& after, const std::vector<std::string>& ignored) {
  const auto kept = [&](const std::string& line) {
    for (const std::string& part : ignored)
      if (line.find(part) != std::string::npos) return false;
    return true;
  };
  std::vector<std::string> out;
  for (const std::string& line : after)
    if (!before.count(line) && kept(line)) out.push_back("+ " + line);
  for (const std::string& line : before)
    if (!after.count(line) && kept(line)) out.push_back("- " + line);
  return out;
}

}  // namespace snapshot
