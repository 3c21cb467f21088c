// Linked into the programs that ship (setup.exe, uninstall.exe; unrar.dll,
// built without exceptions, has its own: unrar/library_runtime.cpp)
// to keep parts of the static C++ runtime out that they never need:
// - the verbose terminate handler, which brings the name demangler (about
//   70 KB) only to print to a console these programs do not have;
// - the runtime's one object of __throw_* helpers, whose logic_error family
//   carries reference-counted strings and with them a second copy of the
//   whole string class. A library fault (a length or range beyond a
//   container) throws a plain std::exception here instead; every handler of
//   ours catches it as before (the entry point's catch-all, the IDE check's
//   std::exception). Each helper the runtime's object defines must be
//   defined here while the code refers to it, or the link reports it twice.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {
class LibraryFault : public std::exception {
 public:
  const char* what() const noexcept override { return "library fault"; }
};
}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_length_error(const char*) { throw LibraryFault(); }
void __throw_logic_error(const char*) { throw LibraryFault(); }
void __throw_out_of_range(const char*) { throw LibraryFault(); }
void __throw_out_of_range_fmt(const char*, ...) { throw LibraryFault(); }
void __throw_invalid_argument(const char*) { throw LibraryFault(); }
}  // namespace std
