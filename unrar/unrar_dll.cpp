// The seven exports of our RAR library, by their published names and
// calling convention (undecorated through unrar.def). The library is built
// without C++ exceptions (library_runtime.cpp says what a failure raises).
#include <windows.h>

#include <new>

#include "unrar/archive_session.h"

// The linker exports by unrar.def, which the whole-program link does not see:
// a function not marked is dropped, yet its export still links and names it
// (a broken library; the tests call all seven).
#define ZX_RAR_EXPORT __attribute__((externally_visible))

namespace {

ArchiveSession* Session(RarArchiveHandle h) { return static_cast<ArchiveSession*>(h); }

}  // namespace

extern "C" {

ZX_RAR_EXPORT RarArchiveHandle ZX_RAR_CALL RAROpenArchive(RAROpenArchiveData* data) {
  if (!data) return nullptr;
  if (!data->ArcName) {
    data->OpenResult = ERAR_EOPEN;
    return nullptr;
  }
  ArchiveSession* s = new (std::nothrow) ArchiveSession();
  if (!s) {
    data->OpenResult = ERAR_NO_MEMORY;
    return nullptr;
  }
  data->OpenResult = s->Open(data->ArcName);
  data->CmtSize = 0;
  data->CmtState = 0;
  if (data->OpenResult != 0) {
    delete s;
    return nullptr;
  }
  return s;
}

ZX_RAR_EXPORT int ZX_RAR_CALL RARCloseArchive(RarArchiveHandle archive) {
  if (!archive) return ERAR_ECLOSE;
  delete Session(archive);
  return 0;
}

ZX_RAR_EXPORT int ZX_RAR_CALL RARReadHeader(RarArchiveHandle archive, RARHeaderData* header) {
  if (!archive) return ERAR_UNKNOWN;
  return Session(archive)->ReadHeader(header);
}

ZX_RAR_EXPORT int ZX_RAR_CALL RARProcessFile(RarArchiveHandle archive, int operation, char* destPath, char* destName) {
  if (!archive) return ERAR_UNKNOWN;
  return Session(archive)->ProcessFile(operation, destPath, destName);
}

ZX_RAR_EXPORT void ZX_RAR_CALL RARSetChangeVolProc(RarArchiveHandle archive, ChangeVolProc proc) {
  if (archive) Session(archive)->changeVolProc = proc;
}

ZX_RAR_EXPORT void ZX_RAR_CALL RARSetProcessDataProc(RarArchiveHandle archive, ProcessDataProc proc) {
  if (archive) Session(archive)->processDataProc = proc;
}

ZX_RAR_EXPORT void ZX_RAR_CALL RARSetPassword(RarArchiveHandle archive, char* password) {
  if (archive) Session(archive)->password = password ? password : "";
}

}  // extern "C"
