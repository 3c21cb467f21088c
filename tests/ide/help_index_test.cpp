// The help contents file edited on disk: an index line removed, the file left
// alone when nothing changes, and the file errors.
#include "ide/help_index.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "support/handles.h"
#include "tests/harness/harness.h"

namespace {

const char kContents[] =
    ":Base delphi5.hlp\n"
    ":Title Delphi 5\n"
    ":Index VCL Reference =vcl5.hlp\n"
    ":Index Object Pascal =obpascal5.hlp\n"
    "1 Getting started\n";

std::string ErrorOf(void (*edit)(const std::string&), const std::string& path) {
  try {
    edit(path);
  } catch (const FileError& e) {
    return e.what();
  }
  return "<no error>";
}

}  // namespace

// Adding is seen whole in the installer's scenario tests; removal is what
// the uninstaller relies on.
TEST(HelpIndex, RemovesTheFirstLineOfTheHelpFileAndSavesWithCrLf) {
  const std::string file = harness::TestDir() + "delphi5.cnt";
  harness::WriteFileBytes(file, std::string(kContents) + ":Index Again =vcl5.hlp");
  RemoveHelpIndex("vcl5.hlp", file);
  EXPECT_EQ(harness::ReadFileBytes(file),
            ":Base delphi5.hlp\r\n:Title Delphi 5\r\n:Index Object Pascal =obpascal5.hlp\r\n1 Getting started\r\n"
            ":Index Again =vcl5.hlp\r\n");
}

TEST(HelpIndex, RemovingNothingLeavesTheFileAsItWas) {
  const std::string file = harness::TestDir() + "delphi5.cnt";
  harness::WriteFileBytes(file, kContents);
  RemoveHelpIndex("VCL5.HLP", file);
  EXPECT_EQ(harness::ReadFileBytes(file), kContents);
}

TEST(HelpIndex, FileErrorsNameTheFile) {
  const std::string dir = harness::TestDir();
  EXPECT_EQ(ErrorOf([](const std::string& f) { RemoveHelpIndex("a.hlp", f); }, dir + "missing.cnt"),
            "Cannot open file " + dir + "missing.cnt");
  // Another reader that shares only reading makes the file unwritable (a
  // read-only attribute would not stop a test run as root under Wine).
  const std::string file = dir + "locked.cnt";
  harness::WriteFileBytes(file, kContents);
  FileHandle reader(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  EXPECT_EQ(ErrorOf([](const std::string& f) { AddHelpIndex("a.hlp", "A", f); }, file), "Cannot create file " + file);
  reader.Reset();
  EXPECT_EQ(harness::ReadFileBytes(file), kContents);
}
