#pragma once
// The process-wide binding to the RAR extraction library and thin wrappers
// over the four calls the payload step needs.
#include <string>

#include "extract/unrar_api.h"
#include "support/fault_cleanup.h"
#include "support/handles.h"

// The slots keep their values when the library is unloaded, until the next
// binding (deliberate: every call below binds first, so none is reached
// through a stale slot; the binding test relies on it).
struct UnrarBinding {
  LibraryHandle module;  // empty when nothing is bound
  RAROpenArchiveFn OpenArchive = nullptr;
  RARCloseArchiveFn CloseArchive = nullptr;
  RARReadHeaderFn ReadHeader = nullptr;
  RARProcessFileFn ProcessFile = nullptr;
  RARSetChangeVolProcFn SetChangeVolProc = nullptr;
  RARSetProcessDataProcFn SetProcessDataProc = nullptr;
  RARSetPasswordFn SetPassword = nullptr;
};

extern UnrarBinding Unrar;

// Binds the library at `libraryPath`, releasing one bound before; throws
// "Can't load UNRAR.DLL" when it cannot be loaded. A missing export leaves
// its slot null.
void LoadUnrarLibrary(const std::string& libraryPath);
// Binds "unrar.dll" by its bare name (the system's search order) when nothing is bound.
void EnsureUnrarLoaded();
void UnloadUnrarLibrary();

// The archive calls; each binds by the bare name first when nothing is
// bound, and throws an error naming the export when the library lacks it.
RarArchiveHandle UnrarOpenArchive(const std::string& archivePath);
void UnrarCloseArchive(RarArchiveHandle archive);
int UnrarReadHeader(RarArchiveHandle archive, RARHeaderData* header);
// Empty `destPath` or `destName` reach the library as null pointers.
int UnrarProcessFile(RarArchiveHandle archive, unsigned char operation, const std::string& destPath,
                     const std::string& destName);

// Closes an open archive on every path out of its scope.
class UnrarArchive {
 public:
  explicit UnrarArchive(RarArchiveHandle h) : h_(h) {}
  // Closing throws nothing: a library without the export leaves it open.
  ~UnrarArchive() { Close(); }
  UnrarArchive(const UnrarArchive&) = delete;
  UnrarArchive& operator=(const UnrarArchive&) = delete;
  RarArchiveHandle Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  void Close() {
    if (h_ && Unrar.CloseArchive) Unrar.CloseArchive(h_);
    h_ = nullptr;
  }
  RarArchiveHandle h_;
  // Closed on a fault too, so that the staged archive can be deleted.
  FaultCleanup onFault_{[this] { Close(); }};
};
