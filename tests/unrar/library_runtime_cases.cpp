// One case of library_runtime_test, run with our RAR library's runtime and
// built like the library (no exceptions): exits with the code of the Windows
// exception the case raised, 0 when it raised none, 1 when a handler could
// have continued it, 2 when an allocation that should fail did not, 3 for a
// case it does not know.
#include <windows.h>

#include <new>
#include <string>

namespace {

LONG WINAPI Raised(EXCEPTION_POINTERS* e) {
  const EXCEPTION_RECORD* r = e->ExceptionRecord;
  ExitProcess(r->ExceptionFlags & EXCEPTION_NONCONTINUABLE ? r->ExceptionCode : 1);
}

// More than any process can have: the allocation fails for real.
constexpr std::size_t kTooLarge = ~std::size_t{0} / 2;

void* volatile kept;  // so that no allocation is left out

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(Raised);
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "allocation") {
    kept = ::operator new(kTooLarge);
  } else if (what == "nothrow") {
    kept = ::operator new(kTooLarge, std::nothrow);
  } else if (what == "container") {
    std::string s;
    s.reserve(s.max_size() + 1);
  } else if (what == "range") {
    kept = new std::string(std::string("ab").substr(3));
  } else {
    return 3;  // no such case
  }
  return kept ? 2 : 0;
}
