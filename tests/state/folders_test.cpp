// The folder services against the real system (Wine).
#include "state/folders.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "ide/catalogue.h"
#include "support/string_list.h"
#include "tests/harness/harness.h"

namespace {
// Sets TMP (which the system's temporary folder follows) for one test.
class TempVariable {
 public:
  explicit TempVariable(const std::string& value) {
    char old[32768];
    DWORD n = GetEnvironmentVariableA("TMP", old, sizeof old);
    had_ = n > 0 && n < sizeof old;
    if (had_) old_ = old;
    SetEnvironmentVariableA("TMP", value.c_str());
  }
  ~TempVariable() { SetEnvironmentVariableA("TMP", had_ ? old_.c_str() : nullptr); }

 private:
  bool had_ = false;
  std::string old_;
};
}  // namespace

TEST(Folders, TempDirDropsTheBackslashButARootKeepsIt) {
  const std::string dir = harness::TestDir();
  {
    TempVariable tmp(dir);
    EXPECT_EQ(GetTempDir(), RemoveBackslash(dir));
  }
  {
    TempVariable tmp("C:\\");
    EXPECT_EQ(GetTempDir(), "C:\\");
  }
}

TEST(Folders, TempDirLongerThanMaxPath) {
  // The system reports the TMP folder without looking for it on disk.
  std::string dir = harness::TestDir();
  while (dir.size() < 300) dir += "a_rather_long_folder_name\\";
  TempVariable tmp(dir);
  // Windows gives the whole path; Wine's ANSI call refuses one over MAX_PATH.
  // Either way, never a path cut short.
  const std::string got = GetTempDir();
  EXPECT_TRUE(got.empty() || got == RemoveBackslash(dir)) << got;
}

TEST(Folders, TempFileNameIsReservedInTheTempDir) {
  const std::string dir = harness::TestDir();
  TempVariable tmp(dir);
  const std::string name = MakeTempFileName("ZX");
  EXPECT_EQ(ExtractFilePath(name), dir);
  EXPECT_EQ(ExtractFileName(name).substr(0, 2), "ZX");
  EXPECT_TRUE(harness::FileExists(name));
  EXPECT_EQ(ExtractFileName(MakeTempFileName("tempfile")).substr(0, 3), "tem");
}

TEST(Folders, SystemFolders) {
  char buffer[MAX_PATH] = {};
  GetWindowsDirectoryA(buffer, sizeof buffer);
  const std::string windows = std::string(buffer) + "\\";
  EXPECT_EQ(GetWindowsDir(), windows);
  GetSystemDirectoryA(buffer, sizeof buffer);
  EXPECT_EQ(GetSystemDir(), std::string(buffer) + "\\");
  EXPECT_EQ(GetProgramFilesDir(), windows.substr(0, 2) + "\\Program Files\\");
  const std::string programs = GetProgramsMenuDir();
  EXPECT_GT(programs.size(), 3u);
  EXPECT_EQ(programs.back(), '\\');
  EXPECT_TRUE(harness::FolderExists(programs)) << programs;
}

TEST(Folders, TemplatesOfTheSystemFolders) {
  EXPECT_EQ(ExpandFolderTemplates("%WINDOWS%%WINDOWS%", GetIdeHelpDir), GetWindowsDir() + GetWindowsDir());
  EXPECT_EQ(ExpandFolderTemplates("%PROGRAMFILES%Corvane", GetIdeHelpDir), GetProgramFilesDir() + "Corvane");
  EXPECT_EQ(ExpandFolderTemplates("%SYSTEM%x %system%", GetIdeHelpDir), GetSystemDir() + "x %system%");
}

TEST(Folders, IdeHelpTokenOfAMissingIdeIsRelative) {
  harness::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Borland\\Delphi\\4.0");
  EXPECT_EQ(ExpandFolderTemplates("%D4_HELP%", GetIdeHelpDir), "HELP\\");
}

TEST(Folders, CreateFoldersRecordsWhatItMade) {
  const std::string dir = harness::TestDir();
  StringList created;
  CreateFolders(dir + "A\\B\\C\\", &created);
  EXPECT_EQ(created.Items(), (std::vector<std::string>{dir + "A", dir + "A\\B", dir + "A\\B\\C"}));
  EXPECT_TRUE(harness::FolderExists(dir + "A\\B\\C"));
  CreateFolders(dir + "A\\B\\C", &created);
  EXPECT_EQ(created.Count(), 3u);
  EXPECT_TRUE(FolderExists(dir + "A"));
  EXPECT_FALSE(FolderExists(dir + "A\\missing"));
}

TEST(Folders, CreateFoldersRelativeToCurrentFolder) {
  const std::string dir = harness::TestDir();
  char old[MAX_PATH];
  GetCurrentDirectoryA(sizeof old, old);
  SetCurrentDirectoryA(dir.c_str());
  StringList created;
  CreateFolders("Rel", &created);
  SetCurrentDirectoryA(old);
  EXPECT_EQ(created.Items(), (std::vector<std::string>{"Rel"}));
  EXPECT_TRUE(harness::FolderExists(dir + "Rel"));
}
