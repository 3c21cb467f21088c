// The substitute IDE's dcc32.exe and make.exe, started with the installer's
// command lines: quoted tool, options, quoted source in a folder with blanks.
#include "tests/harness/harness.h"
#include "tests/ide/fake_ide.h"

namespace {

const char kPackage[] =
    "package zxctd5;\r\n\r\nrequires\r\n  vcl50;\r\n\r\ncontains\r\n  ZxTab in 'zxtab.pas',\r\n  "
    "ZxReg;\r\n\r\nend.\r\n";
const char kUnit[] = "unit ZxTab;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\nend.\r\n";

struct Result {
  DWORD exitCode;
  std::string output;
};

Result RunIdeTool(const fakeide::Edition& ide, const std::string& tool, const std::string& options,
                  const std::string& source) {
  Result result;
  result.exitCode =
      harness::RunTool(ide.Root() + "Bin\\" + tool, options + " " + harness::Quoted({source}), &result.output);
  return result;
}

// A folder with a blank in its name holding the package and its units.
std::string SourceFolder(const std::string& testDir) {
  const std::string dir = testDir + "Tab D5\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  harness::WriteFileBytes(dir + "zxctd5.dpk", kPackage);
  harness::WriteFileBytes(dir + "zxtab.pas", kUnit);
  harness::WriteFileBytes(dir + "ZxReg.pas", "unit ZxReg;\r\nend.\r\n");
  return dir;
}

}  // namespace

TEST(FakeDcc32, BuildsAPackageBesideItsSource) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("D5", testDir + "Borland\\Delphi5");
  const std::string dir = SourceFolder(testDir);
  const Result r = RunIdeTool(ide, "dcc32.exe", "-q -b", dir + "zxctd5.dpk");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output, "10 lines, 0.05 seconds, 1024 bytes code, 128 bytes data.\r\n");
  for (const char* produced : {"zxctd5.BPL", "zxctd5.dcu", "zxctd5.dcp"})
    EXPECT_TRUE(harness::FileExists(dir + produced)) << produced;
}

TEST(FakeDcc32, PackageExtensionOfTheEdition) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("D3", testDir + "Borland\\Delphi3");
  const std::string dir = SourceFolder(testDir);
  EXPECT_EQ(RunIdeTool(ide, "dcc32.exe", "-q -b", dir + "zxctd5.dpk").exitCode, 0u);
  EXPECT_TRUE(harness::FileExists(dir + "zxctd5.DPL"));
  EXPECT_FALSE(harness::FileExists(dir + "zxctd5.BPL"));
}

TEST(FakeDcc32, MissingUnitIsFatal) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("D5", testDir + "Borland\\Delphi5");
  const std::string dir = SourceFolder(testDir);
  ASSERT_TRUE(DeleteFileA((dir + "ZxReg.pas").c_str()));
  const Result r = RunIdeTool(ide, "dcc32.exe", "-q -b", dir + "zxctd5.dpk");
  EXPECT_NE(r.exitCode, 0u);
  EXPECT_EQ(r.output, "Fatal: File not found: 'ZxReg.pas'\r\n");
  EXPECT_FALSE(harness::FileExists(dir + "zxctd5.BPL"));
}

TEST(FakeDcc32, BrokenSourcesGiveErrorLines) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("D5", testDir + "Borland\\Delphi5");
  const std::string dir = SourceFolder(testDir);
  harness::WriteFileBytes(dir + "ZxReg.pas", "unit ZxReg;\r\n  BROKEN;\r\nend.\r\n");
  Result r = RunIdeTool(ide, "dcc32.exe", "-q -b", dir + "zxctd5.dpk");
  EXPECT_NE(r.exitCode, 0u);
  EXPECT_EQ(r.output, "ZxReg.pas(2) Error: Undeclared identifier: 'BROKEN'\r\n");
  EXPECT_FALSE(harness::FileExists(dir + "zxctd5.BPL"));

  harness::WriteFileBytes(dir + "demo.dpr", "program demo;\r\nbegin\r\n  BROKEN\r\nend.\r\n");
  r = RunIdeTool(ide, "dcc32.exe", "-q -b", dir + "demo.dpr");
  EXPECT_NE(r.exitCode, 0u);
  EXPECT_EQ(r.output, "demo.dpr(3) Error: Undeclared identifier: 'BROKEN'\r\n");
}

TEST(FakeDcc32, ProgramsAndUnits) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("C5", testDir + "Borland\\CBuilder5");
  const std::string dir = SourceFolder(testDir);
  harness::WriteFileBytes(dir + "demo.dpr", "program demo;\r\nbegin\r\nend.\r\n");
  EXPECT_EQ(RunIdeTool(ide, "dcc32.exe", "-q -b", dir + "demo.dpr").exitCode, 0u);
  EXPECT_TRUE(harness::FileExists(dir + "demo.exe"));
  EXPECT_EQ(RunIdeTool(ide, "dcc32.exe", "-q -b -JPHN", dir + "zxtab.pas").exitCode, 0u);
  EXPECT_TRUE(harness::FileExists(dir + "zxtab.dcu"));
}

TEST(FakeMake, BuildsACppPackage) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("C5", testDir + "Borland\\CBuilder5");
  const std::string dir = SourceFolder(testDir);
  harness::WriteFileBytes(dir + "zxctc5.bpk", "PROJECT = zxctc5.bpl\r\nOBJFILES = zxtab.obj\r\n");
  Result r = RunIdeTool(ide, "make.exe", "-B -f", dir + "zxctc5.bpk");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output.substr(0, r.output.find("\r\n")), "MAKE Version 5.2  Copyright (c) 1987, 2000 Borland");
  for (const char* produced : {"zxctc5.BPL", "zxctc5.tds", "zxctc5.obj"})
    EXPECT_TRUE(harness::FileExists(dir + produced)) << produced;

  harness::WriteFileBytes(dir + "zxbad.mak", "OBJFILES = BROKEN.obj\r\n");
  r = RunIdeTool(ide, "make.exe", "-B -f", dir + "zxbad.mak");
  EXPECT_NE(r.exitCode, 0u);
  EXPECT_NE(r.output.find("\r\nzxbad.mak(1) Error: Undeclared identifier: 'BROKEN'\r\n"), std::string::npos)
      << r.output;
  EXPECT_FALSE(harness::FileExists(dir + "zxbad.BPL"));
}

TEST(FakeTools, MissingSourceFails) {
  const std::string testDir = harness::TestDir();
  fakeide::Edition ide("D4", testDir + "Borland\\Delphi4");
  const Result r = RunIdeTool(ide, "dcc32.exe", "-q -b", testDir + "none.dpk");
  EXPECT_NE(r.exitCode, 0u);
  EXPECT_EQ(r.output.substr(0, 7), "Fatal: ");
}

TEST(FakeIde, InstallLeavesAnEditionsLayoutAndUninstallTakesItAway) {
  const std::string testDir = harness::TestDir();
  const std::pair<const char*, const char*> editions[] = {{"D4", "Software\\Borland\\Delphi\\4.0"},
                                                          {"C5", "Software\\Borland\\C++Builder\\5.0"}};
  for (const auto& edition : editions) {
    SCOPED_TRACE(edition.first);
    const std::string root = testDir + edition.first;
    {
      fakeide::Edition ide(edition.first, root);
      EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, edition.second, "RootDir"), root);
      for (const char* folder : {"Bin", "HELP", "Lib"}) EXPECT_TRUE(harness::FolderExists(ide.Root() + folder));
      const bool cpp = edition.first[0] == 'C';
      EXPECT_EQ(harness::FileExists(ide.Root() + "Source\\ToolsApi\\dsgnintf.pas"), cpp) << "editions 6 and 7 only";
      EXPECT_TRUE(harness::FileExists(ide.Root() + (cpp ? "Bin\\bcb.exe" : "Bin\\delphi32.exe")));
      const std::string help = harness::ReadFileBytes(ide.Root() + (cpp ? "HELP\\bcb5.cnt" : "HELP\\delphi4.cnt"));
      EXPECT_EQ(help.substr(0, 6), ":Base ");
    }
    EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, edition.second));
    EXPECT_FALSE(harness::FolderExists(root));
  }
}

// An edition fakeide did not make (a real IDE) is left alone unless forced:
// neither its keys nor its root value, tools or help file change.
TEST(FakeIde, RealEditionIsLeftAloneUnlessForced) {
  const std::string dir = harness::TestDir();
  const std::string real = dir + "RealDelphi5\\";
  const char key[] = "Software\\Borland\\Delphi\\5.0";
  fakeide::Uninstall("D5");
  for (const char* folder : {"", "Bin", "HELP"}) CreateDirectoryA((real + folder).c_str(), nullptr);
  harness::WriteFileBytes(real + "Bin\\delphi32.exe", "the real IDE");
  harness::WriteFileBytes(real + "HELP\\delphi5.cnt", ":Base real.hlp\r\n");
  const std::string rootValue = real.substr(0, real.size() - 1);
  auto registerReal = [&] {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), 0);
    RegSetValueExA(k, "RootDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(rootValue.c_str()),
                   static_cast<DWORD>(rootValue.size() + 1));
    RegCloseKey(k);
  };
  registerReal();
  const std::string tool = harness::BinDir() + "fakeide.exe";
  std::string output;
  for (const std::string& args :
       {std::string("uninstall D5"), "install D5 \"" + dir + "Other\"", "install D5 \"" + rootValue + "\""}) {
    SCOPED_TRACE(args);
    EXPECT_EQ(harness::RunTool(tool, args, &output), 2u) << output;
    EXPECT_NE(output.find("--force"), std::string::npos) << output;
    EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, key, "RootDir"), rootValue);
    EXPECT_EQ(harness::ReadFileBytes(real + "Bin\\delphi32.exe"), "the real IDE");
    EXPECT_EQ(harness::ReadFileBytes(real + "HELP\\delphi5.cnt"), ":Base real.hlp\r\n");
  }
  // A folder holding another IDE is refused even without a registry key.
  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, key), 0);
  EXPECT_EQ(harness::RunTool(tool, "install D5 \"" + rootValue + "\"", &output), 2u) << output;
  EXPECT_EQ(harness::ReadFileBytes(real + "Bin\\delphi32.exe"), "the real IDE");
  // Forced: the keys go, but a folder without fakeide's marker is never deleted.
  registerReal();
  EXPECT_EQ(harness::RunTool(tool, "uninstall D5 --force", &output), 0u) << output;
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, key));
  EXPECT_EQ(harness::ReadFileBytes(real + "Bin\\delphi32.exe"), "the real IDE");
}
