#pragma once
// The file fakeide writes into a substitute IDE's root folder: it names the
// edition, so the tools in Bin\ know their kind and uninstall knows the
// folder is one of ours.
#include <string>

extern const char* const kMarkerFileName;  // "fakeide.ini"

// The folder above the running program's own folder, with a trailing backslash.
std::string OwnRootDir();
// The edition code written in `rootDir`'s marker; empty without one.
std::string ReadMarkerCode(const std::string& rootDir);
