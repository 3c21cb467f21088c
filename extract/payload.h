#pragma once
// The payload's files on disk: the RAR library and the archive staged as
// temporary files, the archive walked twice under the progress dialog (to
// add up the sizes, then to place every entry), the temporary files removed.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "extract/unrar_binding.h"
#include "state/script.h"
#include "support/handles.h"

class StringList;
class TProgressDialog;

// The per-entry decision: may replace the destination folder and set a full
// target path; returns the operation for the library (RAR_SKIP, RAR_EXTRACT).
using ArchiveEntryCallback = unsigned char (*)(const RARHeaderData& header, std::string& destFolder,
                                               std::string& targetName);

// The running totals of unpacked sizes for the progress bar.
extern std::uint64_t PayloadTotalSize;
extern std::uint64_t PayloadDoneSize;

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

// The payload from its staging to its clean-up. While it lives the library
// is bound and the progress dialog is up, so that the caller's later work
// (the product record, the packages) runs under the dialog too. Destroyed,
// it takes the dialog down, then unbinds the library and deletes the
// staged files: on every path, a fault's included.
class StagedPayload {
 public:
  StagedPayload();
  ~StagedPayload();
  StagedPayload(const StagedPayload&) = delete;
  StagedPayload& operator=(const StagedPayload&) = delete;

  // Writes the library to its staging file, binds it (throws InstallError
  // "Can't load UNRAR.DLL"), shows the progress dialog and writes the
  // archive. Returns false when a staging file cannot be made or written.
  bool Stage();
  // The counting pass, then the extracting pass into `destDir` with the
  // run's lists. Returns false when the archive cannot be opened or an
  // entry cannot be placed.
  bool Extract(const std::string& destDir);
  // The dialog, from Stage() on.
  TProgressDialog& Progress();

 private:
  class Cleanup;
  class DialogScope;
  LoadedScriptResource archiveBytes_;
  LoadedScriptResource libraryBytes_;
  StagingFile library_;
  StagingFile archive_;
  std::unique_ptr<Cleanup> cleanup_;
  std::unique_ptr<DialogScope> progress_;
};
