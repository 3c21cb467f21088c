#pragma once
// Registry access as the installer uses it: keys are opened, used and closed
// within one operation, through RegKey.
#include <windows.h>

#include <string>
#include <vector>

#include "support/handles.h"

// Paths written "\Software\..." mean "from the root key"; the system refuses
// a subkey with a leading backslash, so it is dropped here.
std::string RegistrySubkey(const std::string& path);

// Opens an existing key, with full access and failing that read access.
bool OpenRegistryKey(HKEY root, const std::string& path, RegKey& key);
// Creates or opens a key with full access (missing parents are created).
bool CreateRegistryKey(HKEY root, const std::string& path, RegKey& key);

// A string value: absent or of size 0 reads as empty, REG_SZ and
// REG_EXPAND_SZ (not expanded) as their text up to the first NUL; any other
// type throws "Invalid data type for '<name>'".
std::string ReadRegistryString(HKEY key, const std::string& name);

// Writes REG_SZ with its terminating NUL counted; returns the call's success.
bool WriteRegistryString(HKEY key, const std::string& name, const std::string& value);
bool WriteRegistryDword(HKEY key, const std::string& name, DWORD value);

// The names of a key's values, in the registry's enumeration order.
std::vector<std::string> RegistryValueNames(HKEY key);
// A REG_DWORD value of four bytes into `value`; false when absent or of another kind.
bool ReadRegistryDword(HKEY key, const std::string& name, DWORD& value);
// True when the value is gone afterwards (also when it was never there).
bool DeleteRegistryValue(HKEY key, const std::string& name);
// Deletes the key at `path` when it holds neither values nor subkeys; true
// when it is gone afterwards.
bool DeleteEmptyRegistryKey(HKEY root, const std::string& path);

// The message of the error thrown for a value that could not be written.
std::string FailedToSetDataMessage(const std::string& name);
std::string InvalidDataTypeMessage(const std::string& name);
