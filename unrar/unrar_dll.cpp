// The seven exports of our RAR library, by their published names and
// calling convention (undecorated through unrar.def). No exception leaves
// them: the caller is another module, and the i686 build's unwinder cannot
// pass from one module's runtime into another's.
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
  try {
    data->OpenResult = s->Open(data->ArcName);
  } catch (const std::bad_alloc&) {
    data->OpenResult = ERAR_NO_MEMORY;
  } catch (...) {
    data->OpenResult = ERAR_UNKNOWN;
  }
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
  try {
    return Session(archive)->ReadHeader(header);
  } catch (const std::bad_alloc&) {
    return ERAR_NO_MEMORY;
  } catch (...) {
    return ERAR_UNKNOWN;
  }
}

ZX_RAR_EXPORT int ZX_RAR_CALL RARProcessFile(RarArchiveHandle archive, int operation, char* destPath, char* destName) {
  if (!archive) return ERAR_UNKNOWN;
  try {
    return Session(archive)->ProcessFile(operation, destPath, destName);
  } catch (const std::bad_alloc&) {
    return ERAR_NO_MEMORY;
  } catch (...) {
    return ERAR_UNKNOWN;
  }
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
