#pragma once
// The uninstaller's steps, each undoing one kind of record the installer
// left. What cannot be removed goes to `leftovers` and stays recorded, so
// that a second run can finish the work.
#include <string>
#include <vector>

#include "support/string_list.h"
#include "uninstall/removal_rules.h"

struct UninstallEntry;
class TProgressDialog;

// Each file of the entry's list: its shared count lowered by one when
// another installation still counts it (the file stays), otherwise the file
// deleted with its count. Returns the files deleted.
StringList RemoveInstalledFiles(const UninstallEntry& entry, TProgressDialog* progress, Leftovers& leftovers);

// The IDE's known packages naming a deleted file, and the help index lines of
// help files that are no longer in the IDE's help folder.
void UnregisterFromIde(const UninstallEntry& entry, const StringList& deletedFiles);

// This installation's sub-products out of the product record; the record
// goes when none is left, else the remaining option include file is
// rewritten. Empty keys of the maker are removed.
void RemoveFromProductRecord(const UninstallEntry& entry);

// The folders the installation created, deepest first, each only when empty;
// those left stay in the entry's list.
void RemoveCreatedFolders(const UninstallEntry& entry, Leftovers& leftovers);
