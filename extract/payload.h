#pragma once
// The payload step: stages the RAR library and the archive as temporary
// files, walks the archive twice under the progress dialog (to add up the
// sizes, then to place every entry), writes the product record, builds the
// packages with the IDE's tools, and removes the temporary files.
#include <windows.h>

#include <cstdint>
#include <string>

#include "extract/unrar_binding.h"
#include "support/handles.h"

class StringList;

// The per-entry decision: may replace the destination folder and set a full
// target path; answers the operation for the library (RAR_SKIP, RAR_EXTRACT).
using ArchiveEntryCallback = unsigned char (*)(const RARHeaderData& header, std::string& destFolder,
                                               std::string& targetName);

// The running totals of unpacked sizes for the progress bar.
extern std::uint64_t PayloadTotalSize;
extern std::uint64_t PayloadDoneSize;

// The whole step; false when the payload could not be staged or extracted.
bool InstallPayload(const std::string& destDir);

// Walks the archive: each list may be absent, which switches off what it is
// used for (recording files; creating and recording folders; sending files
// to the system folder). False when the archive cannot be opened, an entry
// cannot be extracted or the walk ends on an error instead of the end.
bool ExtractArchive(const std::string& archivePath, const std::string& destDir, ArchiveEntryCallback callback,
                    StringList* installedFiles, StringList* createdFolders, const StringList* systemFiles);

unsigned char CountEntryCallback(const RARHeaderData& header, std::string& destFolder, std::string& targetName);
unsigned char ExtractEntryCallback(const RARHeaderData& header, std::string& destFolder, std::string& targetName);

struct StagingFile {
  std::string name;
  FileHandle handle;
};
// A new temporary file ("ZX" prefix) opened for writing.
StagingFile CreateStagingFile();
