// The catalogue against the machine: the root folder in the registry, the
// build of substitute IDE executables, and the running-IDE probe.
#include "ide/catalogue.h"

#include "support/errors.h"
#include "support/registry.h"
#include "tests/harness/harness.h"
#include "tests/ide/fake_ide.h"

namespace {

const char kDelphi4Key[] = "Software\\Borland\\Delphi\\4.0";

// Delphi 4's key holding one RootDir value of the given type and bytes
// (nothing at all for a null `data`), removed again afterwards.
class RootDirValue {
 public:
  RootDirValue(DWORD type, const void* data, DWORD size) {
    harness::DeleteKey(HKEY_LOCAL_MACHINE, kDelphi4Key);
    RegKey key;
    EXPECT_TRUE(CreateRegistryKey(HKEY_LOCAL_MACHINE, kDelphi4Key, key));
    if (data) {
      EXPECT_EQ(RegSetValueExA(key.Get(), "RootDir", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
  }
  explicit RootDirValue(const std::string& text, DWORD type = REG_SZ)
      : RootDirValue(type, text.c_str(), static_cast<DWORD>(text.size() + 1)) {}
  ~RootDirValue() { harness::DeleteKey(HKEY_LOCAL_MACHINE, kDelphi4Key); }
};

}  // namespace

TEST(IdeRootDir, StringValuesGetOneTrailingBackslash) {
  {
    RootDirValue value("C:\\Borland\\Delphi4");
    EXPECT_EQ(GetIdeRootDir(4), "C:\\Borland\\Delphi4\\");
    EXPECT_EQ(GetIdeHelpDir(4), "C:\\Borland\\Delphi4\\HELP\\");
    EXPECT_EQ(GetIdeHelpIndexFile(4), "C:\\Borland\\Delphi4\\HELP\\delphi4.cnt");
  }
  {
    RootDirValue value("C:\\Borland\\Delphi4\\");
    EXPECT_EQ(GetIdeRootDir(4), "C:\\Borland\\Delphi4\\");
  }
  {
    RootDirValue value("%ProgramFiles%\\Delphi4", REG_EXPAND_SZ);
    EXPECT_EQ(GetIdeRootDir(4), "%ProgramFiles%\\Delphi4\\") << "an expandable string is not expanded";
  }
  {
    const char withNul[] = "C:\\D4\0tail";
    RootDirValue value(REG_SZ, withNul, sizeof withNul);
    EXPECT_EQ(GetIdeRootDir(4), "C:\\D4\\") << "the text ends at its first NUL";
  }
}

TEST(IdeRootDir, EmptyMissingValueOrKeyGiveNoFolder) {
  {
    RootDirValue value("");
    EXPECT_EQ(GetIdeRootDir(4), "");
    EXPECT_EQ(GetIdeHelpIndexFile(4), "HELP\\delphi4.cnt");
  }
  {
    RootDirValue value(REG_SZ, "", 0);
    EXPECT_EQ(GetIdeRootDir(4), "");
  }
  {
    RootDirValue value(REG_SZ, nullptr, 0);
    EXPECT_EQ(GetIdeRootDir(4), "");
  }
  harness::DeleteKey(HKEY_LOCAL_MACHINE, kDelphi4Key);
  EXPECT_EQ(GetIdeRootDir(4), "");
  EXPECT_EQ(GetIdeHelpDir(4), "HELP\\");
}

TEST(IdeRootDir, OtherTypesAreAnError) {
  const DWORD number = 42;
  RootDirValue value(REG_DWORD, &number, sizeof number);
  try {
    GetIdeRootDir(4);
    ADD_FAILURE() << "no error for a REG_DWORD RootDir";
  } catch (const RegistryError& error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'RootDir'");
  }
  EXPECT_THROW(GetIdeHelpIndexFile(4), RegistryError);
  EXPECT_FALSE(IsIdeVersionCompatible(4)) << "the build check answers false instead";
}

TEST(FileVersion, ReadsBothDoubleWords) {
  const FileVersion version = GetFileVersion(harness::BinDir() + "fakeide_ide_5_108.exe");
  EXPECT_EQ(version.ms, 0x00040000u);
  EXPECT_EQ(version.ls, 0x0005006Cu);
  for (const char* name : {"fakeide_ide_none.exe", "no such file.exe"}) {
    const FileVersion none = GetFileVersion(harness::BinDir() + name);
    EXPECT_EQ(none.ms, 0u) << name;
    EXPECT_EQ(none.ls, 0u) << name;
  }
}

namespace {
struct BuildCase {
  const char* code;
  IdeKind kind;
  const char* rightBuild;
  const char* wrongBuild;
};
const BuildCase kCheckedEditions[] = {
    {"D3", 2, "5.83", "5.108"}, {"C3", 3, "3.70", "6.18"}, {"D4", 4, "5.108", "5.83"}, {"C4", 5, "14.11", "1.2"}};
}  // namespace

TEST(IdeVersion, CheckedEditionsNeedTheirBuild) {
  const std::string root = harness::TestDir() + "Borland\\IDE";
  for (const BuildCase& edition : kCheckedEditions) {
    SCOPED_TRACE(edition.code);
    {
      fakeide::Edition ide(edition.code, root, std::string("--build ") + edition.rightBuild);
      EXPECT_TRUE(IsIdeVersionCompatible(edition.kind));
    }
    {
      fakeide::Edition ide(edition.code, root, std::string("--build ") + edition.wrongBuild);
      EXPECT_FALSE(IsIdeVersionCompatible(edition.kind));
    }
    {
      fakeide::Edition ide(edition.code, root, "--no-version");
      EXPECT_FALSE(IsIdeVersionCompatible(edition.kind));
    }
    {
      fakeide::Edition ide(edition.code, root);
      EXPECT_TRUE(IsIdeVersionCompatible(edition.kind)) << "fakeide's default is the expected build";
      ASSERT_TRUE(DeleteFileA((ide.Root() + "Bin\\" + GetIdeExeName(edition.kind) + ".exe").c_str()));
      EXPECT_FALSE(IsIdeVersionCompatible(edition.kind)) << "missing executable";
    }
    EXPECT_FALSE(IsIdeVersionCompatible(edition.kind)) << "edition not installed";
  }
}

TEST(IdeVersion, OtherEditionsAcceptAnything) {
  const std::string root = harness::TestDir() + "Borland\\IDE";
  const std::pair<const char*, IdeKind> editions[] = {{"D2", 0}, {"C1", 1}, {"D5", 6}, {"C5", 7}};
  for (const auto& edition : editions) {
    SCOPED_TRACE(edition.first);
    fakeide::Uninstall(edition.first);
    EXPECT_TRUE(IsIdeVersionCompatible(edition.second)) << "edition not installed";
    {
      fakeide::Edition ide(edition.first, root, "--build 1.2");
      EXPECT_TRUE(IsIdeVersionCompatible(edition.second));
      ASSERT_TRUE(DeleteFileA((ide.Root() + "Bin\\" + GetIdeExeName(edition.second) + ".exe").c_str()));
      EXPECT_TRUE(IsIdeVersionCompatible(edition.second)) << "missing executable";
    }
  }
}

TEST(IdeRunning, OnlyAllThreeWindowsCount) {
  EXPECT_FALSE(IsIdeRunning());
  {
    fakeide::RunningIde ide(fakeide::kAllIdeWindows);
    EXPECT_TRUE(IsIdeRunning());
  }
  for (const char* classes : {"TPropertyInspector,TAppBuilder", "TAlignPalette,TAppBuilder",
                              "TAlignPalette,TPropertyInspector", "TAppBuilder"}) {
    fakeide::RunningIde ide(classes);
    EXPECT_FALSE(IsIdeRunning()) << classes;
    EXPECT_TRUE(CheckIdeNotRunning("Catalogue Test")) << "no warning for " << classes;
  }
  EXPECT_FALSE(IsIdeRunning()) << "the windows go with their process";
}
