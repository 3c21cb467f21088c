#pragma once
// The shortcut step: links to installed files in the user's Start-menu
// Programs folder, as the PROGLINKS lines ask, recorded for uninstall.
#include <string>

// Makes every shortcut of PROGLINKS and appends each shortcut file to
// InstalledFileList, also one that could not be written.
void CreateProgramLinks();

// Writes the shortcut `linkFile` that starts `target`; `description` and
// `workDir` are set only when not empty, an existing file is overwritten.
// Silent when the shell link cannot be made or saved. COM must be
// initialised on the calling thread.
void CreateShellLink(const std::string& linkFile, const std::string& target, const std::string& description,
                     const std::string& workDir);
