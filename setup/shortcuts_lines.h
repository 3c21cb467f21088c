#pragma once
// Which shortcuts the PROGLINKS lines ask for: name and value rules only.
#include <string>
#include <vector>

class StringList;

struct ProgramLink {
  std::string LinkFile;     // the Programs folder + the line's name, its extension ".lnk"
  std::string Target;       // InstallDir + the file-name part of the line's value
  std::string Description;  // the line's name as written; empty sets none
};

// One shortcut per line, in order. The value of a line is looked up by its
// name (the first line of that name counts, whatever its letter case), so two
// lines whose names differ only in case both start the first line's file.
std::vector<ProgramLink> ProgramLinksOf(const StringList& lines, const std::string& programsDir,
                                        const std::string& installDir);
