#pragma once
// Registry set-up for the record tests: the keys they use, written the way
// an earlier installation (or a damaged one) would have left them.
#include <windows.h>

#include <string>

namespace fixture {

// Subkey paths as the system takes them (no leading backslash).
std::string ProductRecordKey(const std::string& productName);
std::string UninstallEntryKey(const std::string& appName);
extern const char* const kSharedCountsKey;

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value,
               DWORD type = REG_SZ);
void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void DeleteValue(HKEY root, const std::string& path, const std::string& name);

}  // namespace fixture
