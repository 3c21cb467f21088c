#pragma once
// The texts and key paths of the installation records (no Windows headers):
// the registry paths, the previous-version message, the uninstall command and
// the splitting of ";"-separated lists.
#include <string>

class StringList;

// Under HKEY_CURRENT_USER: the maker's key, the products' records and the
// shared counts of installed files. Written "from the root key".
extern const char* const kMakerKeyPath;
extern const char* const kInstalledProductsPath;
std::string ProductRecordPath(const std::string& productName);
extern const char* const kSharedFileCountsPath;

// Under HKEY_LOCAL_MACHINE: the system's list of installed programs.
extern const char* const kUninstallRootPath;
std::string UninstallEntryPath(const std::string& appName);
std::string UninstallFilesPath(const std::string& appName);

// The warning shown when an earlier installation of `appName` is found.
std::string PreviousVersionMessage(const std::string& appName);

// The command that starts the uninstaller the payload puts into `installDir`
// (which ends in "\"): both the program path and `appName` are quoted, so
// a path with blanks cannot be taken for another program.
std::string UninstallCommand(const std::string& installDir, const std::string& appName);

// `text` with every `from` replaced by `to`.
std::string ReplaceChar(const std::string& text, char from, char to);

// Appends the pieces of `text` between occurrences of `separator` to `list`,
// empty pieces included; a separator at the very end starts no further piece,
// and a CR or LF inside `text` also separates.
void SplitToList(const std::string& text, char separator, StringList& list);
