#pragma once
// Folder services of the system: existence, creation with recording, the
// temporary, Windows, system, Program Files and Programs-menu folders, and
// the folder templates of the INSTALLDIR value.
#include <string>
#include <vector>

#include "setup/paths.h"

class StringList;

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
void CreateFolders(const std::string& path, StringList* createdList);
std::string GetTempDir();
std::string MakeTempFileName(const std::string& prefix);
std::string GetSystemDir();
std::string GetWindowsDir();
std::string GetProgramFilesDir();
std::string GetProgramsMenuDir();

const std::vector<TTemplateInfo>& FolderTemplates();
std::string ExpandFolderTemplates(const std::string& text);
