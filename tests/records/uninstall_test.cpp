// The uninstall entry, its "Files" subkey and the shared counts of installed
// files, as the library leaves them in Wine's registry.
#include "records/uninstall.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "state/install_state.h"
#include "support/errors.h"
#include "tests/harness/harness.h"
#include "tests/records/registry_fixture.h"

namespace {

const char kApp[] = "ZX Uninstall Test App";
const std::string kEntry = fixture::UninstallEntryKey(kApp);
const std::string kFiles = kEntry + "\\Files";
const char kFileA[] = "C:\\zxrec\\Program Files\\a.dll";
const char kFileB[] = "C:\\zxrec\\b.hlp";
const char kFileC[] = "C:\\zxrec\\c.bpl";

std::optional<DWORD> Count(const std::string& file) {
  return harness::ReadDword(HKEY_CURRENT_USER, fixture::kSharedCountsKey, file);
}

class Uninstall : public ::testing::Test {
 protected:
  void SetUp() override {
    harness::DeleteKey(HKEY_LOCAL_MACHINE, kEntry);
    for (const char* file : {kFileA, kFileB, kFileC})
      fixture::DeleteValue(HKEY_CURRENT_USER, fixture::kSharedCountsKey, file);
    Install = InstallState();
  }
  void TearDown() override { Install = InstallState(); }
  std::optional<std::string> Value(const std::string& name) {
    return harness::ReadString(HKEY_LOCAL_MACHINE, kEntry, name);
  }
};

using Names = std::vector<std::string>;

// Value names in sorted order: the registry's enumeration order is its own.
Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST_F(Uninstall, RegistrationWritesEveryValueFromTheState) {
  Install.AppName = kApp;
  Install.ProductName = "ZX Product";
  Install.SubProductName = "Std;Pro;";
  Install.Version = "1.5";
  Install.IdeCode = "D5";
  Install.InstallDir = "C:\\zxrec\\Program Files\\";
  Install.InstalledFileList = StringList({kFileA, kFileB, kFileA});
  Install.CreatedFolderList = StringList({"C:\\zxrec", "C:\\zxrec\\Program Files"});
  RegisterUninstall();
  WriteUninstallVersion();

  EXPECT_EQ(Value("PRODUCTNAME"), "ZX Product");
  EXPECT_EQ(Value("SUBPRODUCTNAME"), "Std;Pro;");
  EXPECT_EQ(Value("FOLDERS"), "C:\\zxrec\r\nC:\\zxrec\\Program Files\r\n");
  EXPECT_EQ(Value("REGKEYS"), "");
  EXPECT_EQ(Value("APPNAME"), kApp);
  EXPECT_EQ(Value("DELPHIVER"), "D5");
  EXPECT_EQ(Value("DisplayName"), kApp);
  EXPECT_EQ(Value("UninstallString"), "\"C:\\zxrec\\Program Files\\UnInstall.exe\" \"ZX Uninstall Test App\"");
  EXPECT_EQ(Value("VERSION"), "1.5");

  // A file listed twice: one value in "Files", counted twice.
  EXPECT_EQ(Sorted(harness::ValueNames(HKEY_LOCAL_MACHINE, kFiles)), Sorted({kFileA, kFileB}));
  EXPECT_EQ(harness::ReadDword(HKEY_LOCAL_MACHINE, kFiles, kFileA), 0u);
  EXPECT_EQ(Count(kFileA), 2u);
  EXPECT_EQ(Count(kFileB), 1u);
}

TEST_F(Uninstall, EmptyListsGiveEmptyTexts) {
  Install.AppName = kApp;
  RegisterUninstall();
  EXPECT_EQ(Value("FOLDERS"), "");
  EXPECT_EQ(Value("REGKEYS"), "");
  EXPECT_EQ(Value("SUBPRODUCTNAME"), "");
  EXPECT_EQ(Value("UninstallString"), "\"UnInstall.exe\" \"ZX Uninstall Test App\"");
  EXPECT_TRUE(harness::KeyExists(HKEY_LOCAL_MACHINE, kFiles));
  EXPECT_TRUE(harness::ValueNames(HKEY_LOCAL_MACHINE, kFiles).empty());
}

TEST_F(Uninstall, SecondInstallationAddsFilesAndOverwritesValues) {
  WriteUninstallValue(kApp, "VERSION", "1.0");
  WriteUninstallFileList(kApp, StringList({kFileA}));
  WriteUninstallValue(kApp, "VERSION", "2.0");
  WriteUninstallFileList(kApp, StringList({kFileC}));
  EXPECT_EQ(Value("VERSION"), "2.0");
  EXPECT_EQ(Sorted(harness::ValueNames(HKEY_LOCAL_MACHINE, kFiles)), Sorted({kFileA, kFileC}));
}

TEST_F(Uninstall, EntryValuesInOneOpening) {
  WriteUninstallEntry(kApp, "\"C:\\X\\UnInstall.exe\" \"A\"");
  EXPECT_EQ(Value("DisplayName"), kApp);
  EXPECT_EQ(Value("UninstallString"), "\"C:\\X\\UnInstall.exe\" \"A\"");
}

TEST_F(Uninstall, SharedCountsAcrossInstallations) {
  // An earlier installation, maybe of another product, left a count.
  fixture::SetDword(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileA, 5);
  IncrementSharedFileCounts(StringList({kFileA, kFileB}));
  EXPECT_EQ(Count(kFileA), 6u);
  EXPECT_EQ(Count(kFileB), 1u);
  IncrementSharedFileCounts(StringList({kFileB, kFileC, kFileB}));
  EXPECT_EQ(Count(kFileB), 3u);
  EXPECT_EQ(Count(kFileC), 1u);
  EXPECT_EQ(IncrementSharedFileCount(kFileC), 2u);
}

TEST_F(Uninstall, CountOfAnotherTypeIsAnError) {
  fixture::SetString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileB, "3");
  try {
    IncrementSharedFileCounts(StringList({kFileA, kFileB, kFileC}));
    ADD_FAILURE() << "no error for a text count";
  } catch (const RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("Invalid data type for '") + kFileB + "'");
  }
  // The files before it were counted, the ones after it not.
  EXPECT_EQ(Count(kFileA), 1u);
  EXPECT_EQ(Count(kFileC), std::nullopt);
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileB), "3");

  fixture::SetString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileB, "a much longer text than four bytes");
  EXPECT_THROW(IncrementSharedFileCount(kFileB), RegistryError);
}

// The file list is written before the counts: a list that cannot be written
// leaves the counts as they were; a count that cannot be raised leaves the
// list whole and the counts after it as they were.
TEST_F(Uninstall, FailuresLeaveWhatWritingInTurnLeaves) {
  fixture::SetDword(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileA, 5);
  Install.InstalledFileList = StringList({kFileA, kFileB, kFileA});
  Install.AppName = std::string(300, 'z');  // a key name longer than the registry takes
  try {
    RegisterUninstall();
    ADD_FAILURE() << "no error for a list that cannot be written";
  } catch (const RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("Failed to set data for '") + kFileA + "'");
  }
  EXPECT_EQ(Count(kFileA), 5u);
  EXPECT_EQ(Count(kFileB), std::nullopt);

  // Files on both sides of the one that fails: those after it keep their counts.
  const Names after = {"C:\\zxrec\\d1.txt", "C:\\zxrec\\d2.txt", "C:\\zxrec\\d3.txt", "C:\\zxrec\\d4.txt"};
  for (const std::string& file : after) fixture::DeleteValue(HKEY_CURRENT_USER, fixture::kSharedCountsKey, file);
  fixture::SetString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileB, "3");
  Install.AppName = kApp;
  Install.InstalledFileList = StringList({kFileA, kFileB, after[0], after[1], after[2], after[3]});
  try {
    RegisterUninstall();
    ADD_FAILURE() << "no error for a text count";
  } catch (const RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("Invalid data type for '") + kFileB + "'");
  }
  EXPECT_EQ(harness::ValueNames(HKEY_LOCAL_MACHINE, kFiles).size(), 6u);
  EXPECT_EQ(Count(kFileA), 6u);
  for (const std::string& file : after) EXPECT_EQ(Count(file), std::nullopt) << file;
}

// A name spelt in two letter cases is one count, raised twice.
TEST_F(Uninstall, CountRaisedOnceForEverySpellingOfAName) {
  Install.AppName = kApp;
  Install.InstalledFileList = StringList({kFileA, "C:\\ZXREC\\PROGRAM FILES\\A.DLL", kFileC, kFileA});
  RegisterUninstall();
  EXPECT_EQ(Count(kFileA), 3u);
  EXPECT_EQ(Count(kFileC), 1u);
}

// The counts table is read in one pass when it is no larger than the list
// (and plain ASCII), else each count is asked for: both ways count alike.
TEST_F(Uninstall, CountsAlikeWhetherTheTableIsReadOrAsked) {
  const char kOtherCase[] = "c:\\zxrec\\program files\\A.DLL";
  const char kUmlautLow[] = "C:\\zxrec\\\xe4.txt";
  const char kUmlautHigh[] = "C:\\zxrec\\\xc4.TXT";
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, DWORD>> stored;
    Names files;
    std::vector<std::pair<std::string, std::optional<DWORD>>> expected;
  } cases[] = {
      {"small table, another letter case", {{kOtherCase, 5}}, {kFileA, kFileA}, {{kFileA, 7}}},
      {"table larger than the list", {{kFileA, 5}, {kFileB, 1}, {kFileC, 1}}, {kFileA}, {{kFileA, 6}, {kFileB, 1}}},
      {"a stored name beyond ASCII",
       {{kUmlautLow, 2}, {kFileA, 5}},
       {kFileA, kFileB, kFileC},
       {{kFileA, 6}, {kFileB, 1}}},
      {"a listed name beyond ASCII", {{kUmlautLow, 2}}, {kUmlautHigh, kFileA}, {{kUmlautLow, 3}, {kFileA, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    harness::DeleteKey(HKEY_CURRENT_USER, fixture::kSharedCountsKey);
    for (const auto& [name, count] : c.stored)
      fixture::SetDword(HKEY_CURRENT_USER, fixture::kSharedCountsKey, name, count);
    IncrementSharedFileCounts(StringList(c.files));
    for (const auto& [name, count] : c.expected) EXPECT_EQ(Count(name), count) << name;
  }
  // A text count in a small table is an error at its file, as when asked.
  harness::DeleteKey(HKEY_CURRENT_USER, fixture::kSharedCountsKey);
  fixture::SetString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, kFileB, "3");
  EXPECT_THROW(IncrementSharedFileCounts(StringList({kFileA, kFileB, kFileC})), RegistryError);
  EXPECT_EQ(Count(kFileA), 1u);
  EXPECT_EQ(Count(kFileC), std::nullopt);
  harness::DeleteKey(HKEY_CURRENT_USER, fixture::kSharedCountsKey);
}
