#include "extract/payload.h"

#include <memory>

#include "dialogs/progress_dialog.h"
#include "extract/entry_rules.h"
#include "state/folders.h"
#include "state/install_state.h"
#include "state/paths.h"
#include "state/script_keys.h"
#include "support/fault_cleanup.h"
#include "support/string_list.h"

std::uint64_t PayloadTotalSize = 0;
std::uint64_t PayloadDoneSize = 0;

namespace {

// The one progress dialog, while the step runs.
TProgressDialog* ProgressDialog = nullptr;

// Writes the whole block; a short write (a full disk) is a failure.
bool WriteWhole(FileHandle& file, const char* data, size_t size) {
  DWORD written = 0;
  bool ok = size == 0 || (WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size);
  file.Reset();
  return ok;
}

std::string HeaderFileName(const RARHeaderData& header) {
  size_t n = 0;
  while (n < sizeof header.FileName && header.FileName[n] != '\0') ++n;
  return std::string(header.FileName, n);
}

}  // namespace

// The staged files are removed, and the library unbound before its file
// goes, however the step ends.
class StagedPayload::Cleanup {
 public:
  Cleanup(StagingFile& library, StagingFile& archive) : library_(library), archive_(archive) {}
  ~Cleanup() { Run(); }

 private:
  void Run() {
    library_.handle.Reset();
    archive_.handle.Reset();
    UnloadUnrarLibrary();
    if (!archive_.name.empty()) DeleteFileA(archive_.name.c_str());
    if (!library_.name.empty()) DeleteFileA(library_.name.c_str());
  }
  StagingFile& library_;
  StagingFile& archive_;
  FaultCleanup onFault_{[this] { Run(); }};
};

// The one progress dialog, reachable by the extracting callback meanwhile.
class StagedPayload::DialogScope {
 public:
  DialogScope() : dialog_(new TProgressDialog()) { ProgressDialog = dialog_.get(); }
  ~DialogScope() { Close(); }
  TProgressDialog& Dialog() { return *dialog_; }

 private:
  void Close() {
    ProgressDialog = nullptr;
    dialog_.reset();
  }
  std::unique_ptr<TProgressDialog> dialog_;
  FaultCleanup onFault_{[this] { Close(); }};
};

StagingFile CreateStagingFile() {
  StagingFile f;
  f.name = MakeTempFileName("ZX");
  f.handle.Reset(CreateFileA(f.name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY, nullptr));
  return f;
}

unsigned char CountEntryCallback(const RARHeaderData& header, std::string&, std::string&) {
  PayloadTotalSize += header.UnpSize;
  return RAR_SKIP;
}

unsigned char ExtractEntryCallback(const RARHeaderData& header, std::string&, std::string& targetName) {
  const std::string entryPath = HeaderFileName(header);
  PayloadDoneSize += header.UnpSize;
  if (ProgressDialog) ProgressDialog->ShowEntry(entryPath, PayloadDoneSize);
  const std::string name = ExtractFileName(entryPath);
  if (!Install.IdeHelpDir.empty() && IsHelpFile(Install.HelpFileList, name)) targetName = Install.IdeHelpDir + name;
  return RAR_EXTRACT;
}

bool ExtractArchive(const std::string& archivePath, const std::string& destDir, ArchiveEntryCallback callback,
                    StringList* installedFiles, StringList* createdFolders, const StringList* systemFiles) {
  UnrarArchive archive(UnrarOpenArchive(archivePath));
  if (!archive) return false;
  const std::string systemDir = GetSystemDir();
  bool ok = true;
  // Entries come folder by folder: a folder made for the last file is there.
  std::string madeFolder;
  auto makeFolder = [&](const std::string& folder) {
    if (folder == madeFolder) return;
    CreateFolders(folder, createdFolders);
    madeFolder = folder;
  };
  RARHeaderData header = {};
  int code;
  while ((code = UnrarReadHeader(archive.Get(), &header)) == 0) {
    std::string targetName;
    const std::string entryPath = HeaderFileName(header);
    const std::string name = ExtractFileName(entryPath);
    const bool isSystemFile = systemFiles && systemFiles->Contains(name);
    std::string destFolder = isSystemFile ? systemDir : destDir;
    const unsigned char operation =
        callback ? callback(header, destFolder, targetName) : static_cast<unsigned char>(RAR_EXTRACT);
    const bool isFolder = (header.FileAttr & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // The entry's path is joined here, made safe, so that every file is
    // written exactly where it is recorded, inside its target folder.
    const std::string safePath = SafeArchivePath(entryPath);
    unsigned char action = operation;
    if (safePath.empty() && !isFolder) {
      // A name that is nothing but "..", drives and separators, or one that
      // Windows treats specially: refused, so the extraction fails.
      targetName.clear();
      action = RAR_SKIP;
      ok = false;
    } else if (isSystemFile) {
      targetName = AddBackslash(destFolder) + name;
    } else if (isFolder) {
      // Made and recorded here, so that the uninstaller knows of it too.
      if (createdFolders && !safePath.empty()) makeFolder(AddBackslash(destFolder) + safePath);
    } else {
      if (createdFolders) makeFolder(AddBackslash(destFolder) + ExtractFilePath(safePath));
      if (targetName.empty()) targetName = AddBackslash(destFolder) + safePath;
    }
    const int result = UnrarProcessFile(archive.Get(), action, destFolder, targetName);
    if (result != 0 && action == RAR_EXTRACT) ok = false;
    if (!isFolder && installedFiles && !targetName.empty()) installedFiles->Add(targetName);
    header = RARHeaderData{};
  }
  return ok && code == ERAR_END_ARCHIVE;
}

StagedPayload::StagedPayload()
    : archiveBytes_(scriptkey::kCabFile),
      libraryBytes_(scriptkey::kUnrarDll),
      library_(CreateStagingFile()),
      archive_(CreateStagingFile()),
      cleanup_(new Cleanup(library_, archive_)) {}

StagedPayload::~StagedPayload() = default;

bool StagedPayload::Stage() {
  if (!library_.handle || !archive_.handle) return false;
  if (!WriteWhole(library_.handle, libraryBytes_.Data(), libraryBytes_.Size())) return false;
  LoadUnrarLibrary(library_.name);
  progress_.reset(new DialogScope());
  return WriteWhole(archive_.handle, archiveBytes_.Data(), archiveBytes_.Size());
}

bool StagedPayload::Extract(const std::string& destDir) {
  ExtractArchive(archive_.name, destDir, CountEntryCallback, nullptr, nullptr, nullptr);
  Progress().SetTotal(PayloadTotalSize);
  return ExtractArchive(archive_.name, destDir, ExtractEntryCallback, &Install.InstalledFileList,
                        &Install.CreatedFolderList, &Install.SystemFileList);
}

TProgressDialog& StagedPayload::Progress() { return progress_->Dialog(); }
