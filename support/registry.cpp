#include "support/registry.h"

#include <vector>

#include "support/errors.h"
#include "support/text.h"

std::string RegistrySubkey(const std::string& path) {
  return (!path.empty() && path[0] == '\\') ? path.substr(1) : path;
}

bool OpenRegistryKey(HKEY root, const std::string& path, RegKey& key) {
  const std::string subkey = RegistrySubkey(path);
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, key.Out()) == ERROR_SUCCESS) return true;
  return RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

bool CreateRegistryKey(HKEY root, const std::string& path, RegKey& key) {
  const std::string subkey = RegistrySubkey(path);
  return RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.Out(),
                         nullptr) == ERROR_SUCCESS;
}

std::string InvalidDataTypeMessage(const std::string& name) { return FormatText("Invalid data type for '%s'", {name}); }

std::string FailedToSetDataMessage(const std::string& name) {
  return FormatText("Failed to set data for '%s'", {name});
}

std::string ReadRegistryString(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
    return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryError(InvalidDataTypeMessage(name));
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return std::string();
  return std::string(data.data());
}

bool WriteRegistryString(HKEY key, const std::string& name, const std::string& value) {
  return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WriteRegistryDword(HKEY key, const std::string& name, DWORD value) {
  return RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
         ERROR_SUCCESS;
}

std::vector<std::string> RegistryValueNames(HKEY key) {
  std::vector<std::string> names;
  DWORD count = 0;
  DWORD longest = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<char> name(longest + 1);
  for (DWORD i = 0;; ++i) {
    DWORD size = static_cast<DWORD>(name.size());
    if (RegEnumValueA(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), size);
  }
  return names;
}

bool ReadRegistryDword(HKEY key, const std::string& name, DWORD& value) {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  value = data;
  return true;
}

bool DeleteRegistryValue(HKEY key, const std::string& name) {
  const LONG result = RegDeleteValueA(key, name.c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool DeleteEmptyRegistryKey(HKEY root, const std::string& path) {
  const std::string subkey = RegistrySubkey(path);
  {
    RegKey key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return true;
    DWORD subkeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        subkeys != 0 || values != 0)
      return false;
  }
  return RegDeleteKeyA(root, subkey.c_str()) == ERROR_SUCCESS;
}
