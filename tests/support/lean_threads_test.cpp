// The runtime's thread calls as the shipped programs answer them: each
// thread's exceptions are its own, and reading them leaves the last error.
// Without the test framework, which links the runtime's own thread library.
#include <windows.h>

#include <cstdio>
#include <exception>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

DWORD WINAPI ThrowAndCatch(void*) {
  try {
    throw 2;
  } catch (int caught) {
    return caught == 2 && std::uncaught_exceptions() == 0 ? 0 : 1;
  }
}

// Another thread throws and catches while this one is inside a handler:
// this thread's rethrow still finds its own exception.
void EachThreadRethrowsItsOwnException() {
  int rethrown = 0;
  try {
    try {
      throw 1;
    } catch (int) {
      HANDLE thread = CreateThread(nullptr, 0, ThrowAndCatch, nullptr, 0, nullptr);
      WaitForSingleObject(thread, INFINITE);
      DWORD code = 9;
      GetExitCodeThread(thread, &code);
      CloseHandle(thread);
      Check(code == 0, "the other thread caught its own exception");
      throw;
    }
  } catch (int caught) {
    rethrown = caught;
  }
  Check(rethrown == 1, "this thread rethrew its own exception");
}

void ReadingTheExceptionStateKeepsTheLastError() {
  SetLastError(ERROR_FILE_NOT_FOUND);
  Check(std::uncaught_exceptions() == 0, "no exception in flight");
  Check(GetLastError() == ERROR_FILE_NOT_FOUND, "the last error is kept");
}

}  // namespace

int main() {
  EachThreadRethrowsItsOwnException();
  ReadingTheExceptionStateKeepsTheLastError();
  std::printf("%s\n", failures ? "lean threads: failed" : "lean threads: passed");
  return failures ? 1 : 0;
}
