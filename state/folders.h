#pragma once
// Folder services of the system: creation with recording, the
// temporary, Windows, system, Program Files and Programs-menu folders, and
// the folder templates of the INSTALLDIR value.
#include <string>
#include <vector>

#include "state/ide_table.h"
#include "state/paths.h"
#include "support/files.h"

class StringList;

void CreateFolders(const std::string& path, StringList* createdList);
std::string GetTempDir();
std::string MakeTempFileName(const std::string& prefix);
std::string GetSystemDir();
std::string GetWindowsDir();
std::string GetProgramFilesDir();
std::string GetProgramsMenuDir();

// The IDE help-folder tokens resolve through `ideHelpDir` (the IDE catalogue's
// GetIdeHelpDir in the installer), which lies above these services.
using IdeHelpDirFn = std::function<std::string(IdeKind)>;
std::vector<TTemplateInfo> FolderTemplates(const IdeHelpDirFn& ideHelpDir);
std::string ExpandFolderTemplates(const std::string& text, const IdeHelpDirFn& ideHelpDir);
