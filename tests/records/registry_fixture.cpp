#include "tests/records/registry_fixture.h"

#include <gtest/gtest.h>

#include "support/handles.h"

namespace fixture {

const char* const kSharedCountsKey = "Software\\Corvane Company\\InstalledFiles";

std::string ProductRecordKey(const std::string& productName) {
  return "Software\\Corvane Company\\InstalledProducts\\" + productName;
}

std::string UninstallEntryKey(const std::string& appName) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
}

namespace {
void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size) {
  RegKey key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Out(), nullptr),
            ERROR_SUCCESS)
      << path;
  EXPECT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS)
      << path << " " << name;
}
}  // namespace

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value, DWORD type) {
  SetValue(root, path, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
  SetValue(root, path, name, REG_DWORD, &value, sizeof value);
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
  RegKey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, key.Out()) != ERROR_SUCCESS) return;
  RegDeleteValueA(key.Get(), name.c_str());
}

}  // namespace fixture
