#pragma once
// The uninstaller's pure rules (no Windows headers): what a command line
// asks for, the order folders can be removed in, and the texts it shows.
#include <cstdint>
#include <string>
#include <vector>

class StringList;

// One run: the product's AppName (empty when the argument is missing) and,
// for the temporary copy the original starts, the handle of the original
// (inherited) that the copy waits for before removing anything.
struct UninstallRequest {
  std::string appName;
  bool isCopy = false;
  std::uint64_t originalProcess = 0;
};

// The uninstall entry's command is the program and AppName in quotes. When
// the program path was written without quotes and holds blanks, its pieces
// come before AppName, so the last argument is taken.
UninstallRequest ParseUninstallRequest(const std::string& commandLine);
// The command line that starts the copy at `copyPath`.
std::string CopyCommandLine(const std::string& copyPath, std::uint64_t originalProcess, const std::string& appName);

// The folders in an order that removes each one's subfolders first: deepest
// (most separators) first, list order kept among equals.
std::vector<std::string> DeepestFirst(const StringList& folders);

// What a run could not remove. A file stays recorded for a second run; a
// folder that is not empty holds what the installation did not put there
// (the user's files, another product's folder) unless a file of its own is
// still in it.
struct Leftovers {
  std::vector<std::string> files;
  std::vector<std::string> folders;
  bool Empty() const { return files.empty() && folders.empty(); }
};

extern const char* const kCaptionUninstall;  // "Uninstall"
std::string MissingArgumentMessage();
std::string NoEntryMessage(const std::string& appName);
std::string ConfirmRemovalMessage(const std::string& appName);
// The closing message: removed, removed but for files in use (to finish with
// a second run), or removed with folders left in place.
std::string ClosingMessage(const std::string& appName, const Leftovers& leftovers);
std::string UninstallFailedMessage(const std::string& appName, const std::string& reason);
