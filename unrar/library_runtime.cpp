// The C++ runtime's failure paths for our RAR library, which is built
// without exceptions: no exception may leave it for its caller (another
// module), and the exception runtime it needed only to stop them at its
// exports (the unwinder, the tables it reads) was a quarter of the i686
// library. A failure is raised as a Windows exception instead, as HeapAlloc
// raises one when asked to: the installer ends on it as on any fault (its
// registered clean-up, then "Installation failed.").
// - An allocation of the library's own fails (names, the list of headers:
//   a few KB): STATUS_NO_MEMORY. libarchive's allocations, the large ones,
//   still fail as error codes.
// - A precondition of the standard library is broken (a range beyond a
//   string, an empty function called): STATUS_ASSERTION_FAILURE.
// Each helper below stands in for the runtime's own, which throws: one the
// code refers to and this file lacks brings the whole exception runtime back
// (unrar.dll grows by about 40 KB on i686, 20 KB on x86_64).
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Raise(DWORD code) {
  RaiseException(code, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  __builtin_trap();  // not reached: a handler cannot continue it
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
// The runtime's operator delete frees with std::free, as these blocks need.

void* operator new(std::size_t size) {
  if (void* block = operator new(size, std::nothrow)) return block;
  Raise(STATUS_NO_MEMORY);
}

namespace std {
void __throw_bad_alloc() { Raise(STATUS_NO_MEMORY); }
void __throw_bad_array_new_length() { Raise(STATUS_NO_MEMORY); }
void __throw_length_error(const char*) { Raise(STATUS_NO_MEMORY); }
void __throw_logic_error(const char*) { Raise(STATUS_ASSERTION_FAILURE); }
void __throw_out_of_range_fmt(const char*, ...) { Raise(STATUS_ASSERTION_FAILURE); }
void __throw_bad_function_call() { Raise(STATUS_ASSERTION_FAILURE); }
}  // namespace std
