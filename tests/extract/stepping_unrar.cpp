// Test library standing in for unrar.dll: forwards every call to the real
// library (ZX_BIN\unrar.dll) but stops before each extraction, and at the
// first opening, until the test lets it go on. So a test can read the
// progress dialog at every step of the protocol. An entry whose target name
// holds "zxfault" ends in an access violation instead, as a faulty library
// would, and one with "zxnomemory" in the exception our library raises when
// an allocation of its own fails.
//   events: "ZXStepReady" (set by the library when it stops),
//           "ZXStepGo" (set by the test to let it go on).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "extract/unrar_api.h"
#include "support/handles.h"

namespace {

HMODULE Real() {
  static HMODULE real = [] {
    const char* bin = std::getenv("ZX_BIN");
    std::string path = std::string(bin ? bin : ".") + "\\unrar.dll";
    return LoadLibraryA(path.c_str());
  }();
  return real;
}

template <typename Fn>
Fn Forward(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Real(), name)));
}

void Stop() {
  KernelHandle ready(CreateEventA(nullptr, FALSE, FALSE, "ZXStepReady"));
  KernelHandle go(CreateEventA(nullptr, FALSE, FALSE, "ZXStepGo"));
  SetEvent(ready.Get());
  // Messages sent by the test (reading the dialog) are answered meanwhile.
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 30000) {
    const HANDLE waitFor = go.Get();
    DWORD r = MsgWaitForMultipleObjects(1, &waitFor, FALSE, 30000, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) break;
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
  }
}

bool opened = false;

}  // namespace

extern "C" {

__declspec(dllexport) RarArchiveHandle ZX_RAR_CALL RAROpenArchive(RAROpenArchiveData* data) {
  if (!opened) {
    opened = true;
    Stop();
  }
  return Forward<RAROpenArchiveFn>("RAROpenArchive")(data);
}

__declspec(dllexport) int ZX_RAR_CALL RARCloseArchive(RarArchiveHandle archive) {
  return Forward<RARCloseArchiveFn>("RARCloseArchive")(archive);
}

__declspec(dllexport) int ZX_RAR_CALL RARReadHeader(RarArchiveHandle archive, RARHeaderData* header) {
  return Forward<RARReadHeaderFn>("RARReadHeader")(archive, header);
}

__declspec(dllexport) int ZX_RAR_CALL
    RARProcessFile(RarArchiveHandle archive, int operation, char* destPath, char* destName) {
  if (operation == RAR_EXTRACT && destName && std::strstr(destName, "zxfault")) {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
  }
  if (operation == RAR_EXTRACT && destName && std::strstr(destName, "zxnomemory"))
    RaiseException(STATUS_NO_MEMORY, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  if (operation == RAR_EXTRACT) Stop();
  return Forward<RARProcessFileFn>("RARProcessFile")(archive, operation, destPath, destName);
}

__declspec(dllexport) void ZX_RAR_CALL RARSetChangeVolProc(RarArchiveHandle archive, ChangeVolProc proc) {
  Forward<RARSetChangeVolProcFn>("RARSetChangeVolProc")(archive, proc);
}

__declspec(dllexport) void ZX_RAR_CALL RARSetProcessDataProc(RarArchiveHandle archive, ProcessDataProc proc) {
  Forward<RARSetProcessDataProcFn>("RARSetProcessDataProc")(archive, proc);
}

__declspec(dllexport) void ZX_RAR_CALL RARSetPassword(RarArchiveHandle archive, char* password) {
  Forward<RARSetPasswordFn>("RARSetPassword")(archive, password);
}
}
