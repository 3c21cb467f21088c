#pragma once
// The uninstall entry in the system's list of installed programs, its "Files"
// subkey, and the counts of installations per file under the maker's key.
#include <string>

class StringList;

// The entry, its file list and the shared counts, from the installation state.
void RegisterUninstall();
// "VERSION" = Version in the entry of AppName.
void WriteUninstallVersion();

// One REG_SZ value in the entry of `appName`, created when needed; a key
// or value that cannot be written is left out silently.
void WriteUninstallValue(const std::string& appName, const std::string& valueName, const std::string& value);
// "DisplayName" and "UninstallString" with one opening of the entry.
void WriteUninstallEntry(const std::string& appName, const std::string& uninstallString);

// One REG_DWORD 0 per file under the entry's "Files" subkey. Throws
// RegistryError "Failed to set data for '<file>'".
void WriteUninstallFileList(const std::string& appName, const StringList& files);

// Adds one to the shared count of each file (two for a file listed twice).
void IncrementSharedFileCounts(const StringList& files);
// The file's new count: one more than before, 1 for a new file. Throws
// RegistryError for a count that is not a REG_DWORD or cannot be written.
unsigned long IncrementSharedFileCount(const std::string& path);
