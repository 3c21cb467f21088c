#pragma once
// Where an archive entry goes: the rules of the payload step that need no
// system calls.
#include <string>

class StringList;

// The entry's path inside the archive made safe to join onto a folder:
// drive prefixes, empty, "." and ".." components are dropped ("/" counts as
// "\"), so the result never leaves the folder it is joined to. A path with a
// component that Windows treats specially (IsReservedFileName) gives the
// empty text: the entry is refused, never written somewhere else. The RAR
// library applies the same rule when it writes the entry.
std::string SafeArchivePath(const std::string& entryPath);

// A name that Windows does not take as a plain file name: a device name
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$; with any extension
// and in any case), a name ending in "." or a blank (Windows drops those),
// or one holding ":" (a drive or an alternate data stream).
bool IsReservedFileName(const std::string& name);

// A help file of the product: a line of `helpFiles` whose text before its
// first "=" equals `name`, or failing that a line equal to `name` as a whole
// (both without regard to case).
bool IsHelpFile(const StringList& helpFiles, const std::string& name);
