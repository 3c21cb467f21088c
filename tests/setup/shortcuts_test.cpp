// The shortcut step as a user meets it: the links in the Start menu's
// Programs folder, read back through the shell, and their record for uninstall.
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "tests/harness/harness.h"
#include "tests/records/registry_fixture.h"
#include "tests/setup/shell_link_reader.h"

namespace {

const char kApp[] = "ZX Shortcut Scenario";
const char kInstallDir[] = "C:\\zxlinks\\Tool\\";
const std::string kEntry = fixture::UninstallEntryKey(kApp);

std::string ProgramsDir() {
  char buffer[MAX_PATH] = {};
  EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAMS, FALSE));
  return std::string(buffer) + "\\";
}

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    programs_ = ProgramsDir();
    Clean();
  }
  void TearDown() override {
    Clean();
    CoUninitialize();
  }
  void Clean() {
    for (const char* name : {"ZX Demo.lnk", "ZX Help.lnk", "zx demo.lnk"}) DeleteFileA((programs_ + name).c_str());
    harness::DeleteKey(HKEY_LOCAL_MACHINE, kEntry);
  }
  // Runs an installer with these PROGLINKS to its end.
  void Install(const std::string& proglinks) {
    ScriptValues values = {{"APPNAME", kApp},
                           {"INSTALLDIR", kInstallDir},
                           {"PROMPTINSTALLDIR", "No"},
                           {"CHECKPREVVERSION", "No"},
                           {"CHECKDELPHI", "No"},
                           {"SUCCESSMESSAGE", "Yes"},
                           {"CABFILE", harness::MakeRarArchive({{"ZXDemo.exe", "MZ"}, {"readme.txt", "read me"}})}};
    if (!proglinks.empty()) values.emplace_back("PROGLINKS", proglinks);
    const std::string exe = harness::TestDir() + "setup.exe";
    harness::MakeInstaller(exe, values);
    harness::RunToCompletion(exe);
  }
  // The files the uninstall entry records.
  std::vector<std::string> Recorded() { return harness::ValueNames(HKEY_LOCAL_MACHINE, kEntry + "\\Files"); }
  bool IsRecorded(const std::string& path) {
    const std::vector<std::string> files = Recorded();
    return std::find(files.begin(), files.end(), path) != files.end();
  }
  std::string programs_;
};

}  // namespace

TEST_F(Shortcuts, LinksStartInstalledFilesAndAreRecorded) {
  // An earlier file of the same name is overwritten.
  harness::WriteFileBytes(programs_ + "ZX Demo.lnk", "not a shortcut");
  Install("ZX Demo=ZXDemo.exe\r\nZX Help.txt=  docs\\readme.txt \r\nZXSub\\Gone=ZXDemo.exe\r\n");

  const std::optional<ShellLinkFields> demo = ReadShellLink(programs_ + "ZX Demo.lnk");
  ASSERT_TRUE(demo);
  EXPECT_EQ(demo->target, "C:\\zxlinks\\Tool\\ZXDemo.exe");
  EXPECT_EQ(demo->description, "ZX Demo");
  EXPECT_EQ(demo->workDir, kInstallDir);

  // The name's extension replaced, the value trimmed and cut to its file name.
  const std::optional<ShellLinkFields> help = ReadShellLink(programs_ + "ZX Help.lnk");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->target, "C:\\zxlinks\\Tool\\readme.txt");
  EXPECT_EQ(help->description, "ZX Help.txt");
  EXPECT_EQ(help->workDir, kInstallDir);

  // No subfolder is made, yet the path is recorded like the others.
  EXPECT_FALSE(harness::FolderExists(programs_ + "ZXSub"));
  for (const char* name : {"ZX Demo.lnk", "ZX Help.lnk", "ZXSub\\Gone.lnk"})
    EXPECT_TRUE(IsRecorded(programs_ + name)) << name;
  EXPECT_TRUE(IsRecorded(std::string(kInstallDir) + "ZXDemo.exe"));
}

TEST_F(Shortcuts, NamesDifferingInCaseShareTheFirstTarget) {
  Install("ZX Demo=ZXDemo.exe\r\nzx demo=readme.txt\r\n");
  // The second line's file replaces the first (the file system ignores case).
  const std::optional<ShellLinkFields> link = ReadShellLink(programs_ + "ZX Demo.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, "C:\\zxlinks\\Tool\\ZXDemo.exe");
  EXPECT_EQ(link->description, "zx demo");
}

TEST_F(Shortcuts, NoKeyNoLinks) {
  Install("");
  EXPECT_FALSE(harness::FileExists(programs_ + "ZX Demo.lnk"));
  for (const std::string& file : Recorded()) EXPECT_EQ(file.find(".lnk"), std::string::npos) << file;
}
