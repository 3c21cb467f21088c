#pragma once
// Where an archive entry goes: the rules of the payload step that need no
// system calls.
#include <string>

class StringList;

// The entry's path inside the archive made safe to join onto a folder:
// drive prefixes, empty, "." and ".." components are dropped ("/" counts as
// "\"), so the result never leaves the folder it is joined to. The RAR
// library applies the same rule when it writes the entry.
std::string SafeArchivePath(const std::string& entryPath);

// A help file of the product: a line of `helpFiles` whose text before its
// first "=" equals `name`, or failing that a line equal to `name` as a whole
// (both without regard to case).
bool IsHelpFile(const StringList& helpFiles, const std::string& name);
