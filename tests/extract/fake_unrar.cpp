// A stand-in RAR library that records what the binding hands it, for the
// cases our real library cannot show (null pointers, a full-width name).
#include <cstring>

#include "extract/unrar_api.h"

namespace {

struct Record {
  int calls = 0;
  int operation = -1;
  bool pathNull = false;
  bool nameNull = false;
  char path[300] = {};
  char name[300] = {};
  unsigned openMode = 99;
  char arcName[300] = {};
  bool cleared = false;
  bool arcNameNull = false;
} last;

int dummy;

void Copy(char* to, const char* from) {
  if (from) std::strncpy(to, from, 299);
}

}  // namespace

extern "C" {

RarArchiveHandle ZX_RAR_CALL RAROpenArchive(RAROpenArchiveData* data) {
  ++last.calls;
  last.openMode = data->OpenMode;
  last.arcNameNull = data->ArcName == nullptr;
  Copy(last.arcName, data->ArcName);
  last.cleared = !data->CmtBuf && !data->CmtBufSize && !data->OpenResult && !data->CmtSize && !data->CmtState;
  return &dummy;
}

int ZX_RAR_CALL RARCloseArchive(RarArchiveHandle) {
  ++last.calls;
  return 0;
}

// Fills the whole name field, no NUL, then marks the field after it.
int ZX_RAR_CALL RARReadHeader(RarArchiveHandle, RARHeaderData* header) {
  ++last.calls;
  std::memset(header->FileName, 'n', sizeof header->FileName);
  header->Flags = 0x5A5A;
  header->UnpSize = 42;
  return 0;
}

int ZX_RAR_CALL RARProcessFile(RarArchiveHandle, int operation, char* destPath, char* destName) {
  ++last.calls;
  last.operation = operation;
  last.pathNull = destPath == nullptr;
  last.nameNull = destName == nullptr;
  Copy(last.path, destPath);
  Copy(last.name, destName);
  return 7;
}

void ZX_RAR_CALL RARSetChangeVolProc(RarArchiveHandle, ChangeVolProc) {}
void ZX_RAR_CALL RARSetProcessDataProc(RarArchiveHandle, ProcessDataProc) {}
void ZX_RAR_CALL RARSetPassword(RarArchiveHandle, char*) {}

// For the test: what the last calls received.
const Record* ZX_RAR_CALL FakeLastCall() { return &last; }

}  // extern "C"
