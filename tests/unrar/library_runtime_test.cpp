// Where the standard runtime would throw, our RAR library raises a Windows
// exception that no handler can continue (the installer's fault handler ends
// the run on it), and the nothrow allocation answers null, which the library
// reports as ERAR_NO_MEMORY.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/harness/harness.h"

TEST(LibraryRuntime, FailuresRaiseWhatNoHandlerContinues) {
  const struct {
    const char* what;
    DWORD exitCode;
  } kCases[] = {
      {"allocation", STATUS_NO_MEMORY},     // more than a process can have
      {"container", STATUS_NO_MEMORY},      // a string beyond its largest size
      {"range", STATUS_ASSERTION_FAILURE},  // a substring past the end
      {"nothrow", 0},                       // null, and nothing raised
  };
  for (const auto& c : kCases)
    EXPECT_EQ(harness::RunTool(harness::BinDir() + "library_runtime_cases.exe", c.what), c.exitCode) << c.what;
}
