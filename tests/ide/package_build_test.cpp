// Packages compiled with the IDE's own tools and the IDE told about the
// product: known packages, help index lines and what the uninstall entry
// records, driven like a user under Wine.
#include <algorithm>

#include "ide/help_contents.h"
#include "ide/ide_registration.h"
#include "ide/package_rules.h"
#include "support/handles.h"
#include "tests/harness/harness.h"
#include "tests/ide/fake_ide.h"

using harness::Session;

namespace {

const char kApp[] = "Package Build Test";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Package Build Test";
const char kFailureCaption[] = "An error occured during installation.";

const char kPackage[] =
    "package zxctd5;\r\n\r\nrequires\r\n  vcl50;\r\n\r\ncontains\r\n  ZxTab in 'zxtab.pas';\r\n\r\nend.\r\n";
const char kUnit[] = "unit ZxTab;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\nend.\r\n";

std::string SystemDir() {
  char buffer[MAX_PATH] = {};
  GetSystemDirectoryA(buffer, sizeof buffer);
  return std::string(buffer) + "\\";
}

// Capture files the runs left in the temporary folder ("tem" + number + ".tmp").
int CaptureFilesLeft() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((std::string(temp) + "tem*.tmp").c_str(), &found));
  int count = 0;
  if (find) do
      ++count;
    while (FindNextFileA(find.Get(), &found));
  return count;
}

std::vector<std::string> FileLines(const std::string& path) { return ContentsLines(harness::ReadFileBytes(path)); }

// The product installed into an IDE edition, with the files it compiles
// left in the system folder removed again afterwards.
struct Product {
  std::string code;
  std::string dir = harness::TestDir();
  std::string installDir = dir + "Tab\\";
  fakeide::Edition ide;
  std::vector<harness::ArchiveEntry> payload = {{"zxctd5.dpk", kPackage}, {"zxtab.pas", kUnit}};
  std::vector<std::string> systemFiles;
  ScriptValues values = {{"APPNAME", kApp},
                         {"INSTALLDIR", installDir},
                         {"PROMPTINSTALLDIR", "No"},
                         {"CHECKPREVVERSION", "No"},
                         {"CHECKDELPHI", "No"},
                         {"SUCCESSMESSAGE", "Yes"},
                         {"BUILDPACKAGES", "zxctd5.dpk=Corvane Tabrel\r\n"}};

  Product(const std::string& ideCode, const std::string& ideOptions = "")
      : code(ideCode), ide(ideCode, dir + "Borland\\" + ideCode, ideOptions) {
    harness::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey);
    Set("DELPHIVER", ideCode);
  }
  ~Product() {
    harness::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const std::string& name : systemFiles) DeleteFileA((SystemDir() + name).c_str());
  }
  Product& Set(const std::string& key, const std::string& value) {
    harness::SetScriptValue(values, key, value);
    return *this;
  }
  std::string Installer() {
    Set("CABFILE", harness::MakeRarArchive(payload));
    const std::string exe = dir + "setup.exe";
    harness::MakeInstaller(exe, values);
    return exe;
  }
  std::string KnownPackagesKey() const {
    return std::string("Software\\Borland\\") + (code[0] == 'D' ? "Delphi\\" : "C++Builder\\") + code[1] +
           ".0\\Known Packages";
  }
  std::vector<std::string> ToolCalls() const { return FileLines(ide.Root() + "tools.log"); }
  std::string ToolCall(const std::string& tool, const std::string& options, const std::string& source) const {
    return installDir.substr(0, installDir.size() - 1) + ">\"" + ide.Root() + "Bin\\" + tool + "\" " + options + " \"" +
           installDir + source + "\"";
  }
};

// Runs the installer to the failure message after the builder's own box,
// which must have this caption and text.
void ExpectBuildFailure(const std::string& exe, const std::string& caption, const std::string& text) {
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  run.Answer(caption, text, "OK");
  run.Answer(kFailureCaption, "Installation failed.", "OK");
  run.ExpectEnd();
}

}  // namespace

TEST(PackageBuild, DelphiFiveRunAsTraced) {
  Product p("D5");
  p.systemFiles = {"zxctd5.BPL", "zxtabrel_d5.bpl"};
  p.payload.push_back({"zxtabrel_d5.bpl", "ready-made package"});
  p.payload.push_back({"tabrel.hlp", "help"});
  p.payload.push_back({"tabrel.cnt", "contents"});
  p.Set("SYSFILES", "zxtabrel_d5.bpl\r\n").Set("PACKAGES", "zxtabrel_d5.bpl=Corvane Tabrel\r\n");
  p.Set("HELPFILES", "tabrel.cnt\r\ntabrel.hlp=Corvane Tabrel Help\r\n");
  const int captureFiles = CaptureFilesLeft();
  const std::string contents = p.ide.Root() + "HELP\\delphi5.cnt";
  const std::vector<std::string> before = FileLines(contents);
  const std::string exe = p.Installer();

  harness::RunToCompletion(exe);
  EXPECT_EQ(p.ToolCalls(), std::vector<std::string>{p.ToolCall("dcc32.exe", "-q -b", "zxctd5.dpk")});
  const std::string built = SystemDir() + "zxctd5.BPL";
  EXPECT_TRUE(harness::FileExists(built));
  EXPECT_FALSE(harness::FileExists(p.installDir + "zxctd5.BPL"));
  EXPECT_FALSE(harness::FileExists(p.installDir + "zxctd5.dcu"));
  EXPECT_FALSE(harness::FileExists(p.installDir + "zxctd5.dcp"));
  EXPECT_EQ(CaptureFilesLeft(), captureFiles);
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, p.KnownPackagesKey(), built), "Corvane Tabrel");
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, p.KnownPackagesKey(), SystemDir() + "zxtabrel_d5.bpl"),
            "Corvane Tabrel");
  EXPECT_EQ(harness::ReadDword(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\Files", built), 0u)
      << "the built package is recorded for the uninstaller";
  EXPECT_TRUE(harness::FileExists(p.ide.Root() + "Lib\\dsgnintf.pas"));
  EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, kInstalledHelpsValue), "tabrel.hlp\r\n");

  // The index line follows the edition's own index lines; a second run
  // replaces it.
  std::vector<std::string> expected = before;
  const size_t position = IndexInsertPosition(before);
  EXPECT_GT(position, 2u);
  expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(position), ":Index Corvane Tabrel Help =tabrel.hlp");
  EXPECT_EQ(FileLines(contents), expected);
  harness::RunToCompletion(exe);
  EXPECT_EQ(FileLines(contents), expected);
  EXPECT_EQ(harness::ReadFileBytes(contents), ContentsText(expected));
  EXPECT_TRUE(harness::FileExists(built)) << "replaced by the second build";
}

TEST(PackageBuild, CppBuilderFiveUsesMakeForProjectsAndDcc32ForUnits) {
  Product p("C5");
  p.systemFiles = {"zxctc5.BPL", "zxunit.dcu"};
  p.payload = {{"zxctc5.bpk", "<PROJECT/>\r\n"}, {"zxunit.pas", kUnit}, {"zxother.cpp", "int x;\r\n"}};
  p.Set("BUILDPACKAGES",
        "zxctc5.bpk=Corvane Tabrel C\r\nzxmissing.bpk=Not installed\r\nzxother.cpp=Other\r\n"
        "zxunit.pas=Corvane Unit\r\nno name part\r\n");
  const std::string libCopy = p.ide.Root() + "Lib\\dsgnintf.pas";
  harness::WriteFileBytes(libCopy, "unit DsgnIntf; { patched by the user }\r\n");
  harness::RunToCompletion(p.Installer());
  EXPECT_EQ(harness::ReadFileBytes(libCopy), "unit DsgnIntf; { patched by the user }\r\n");
  EXPECT_EQ(p.ToolCalls(), (std::vector<std::string>{p.ToolCall("make.exe", "-B -f", "zxctc5.bpk"),
                                                     p.ToolCall("make.exe", "-B -f", "zxother.cpp"),
                                                     p.ToolCall("dcc32.exe", "-q -b -JPHN", "zxunit.pas")}));
  EXPECT_TRUE(harness::FileExists(SystemDir() + "zxctc5.BPL"));
  EXPECT_TRUE(harness::FileExists(SystemDir() + "zxunit.dcu"));
  EXPECT_FALSE(harness::FileExists(p.installDir + "zxctc5.tds"));
  EXPECT_FALSE(harness::FileExists(p.installDir + "zxctc5.obj"));
  EXPECT_EQ(harness::ValueNames(HKEY_CURRENT_USER, p.KnownPackagesKey()),
            (std::vector<std::string>{SystemDir() + "zxctc5.BPL", SystemDir() + "zxunit.dcu"}))
      << "a source of unknown kind is built but not registered";
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, p.KnownPackagesKey(), SystemDir() + "zxctc5.BPL"),
            "Corvane Tabrel C");
}

TEST(PackageBuild, CompilerErrorsShownThenInstallationFails) {
  Product p("D5");
  p.systemFiles = {"zxctd5.BPL"};
  p.payload = {{"zxctd5.dpk", "package zxctd5;\r\ncontains\r\n  ZxTab in 'zxtab.pas',\r\n  ZxMissing;\r\nend.\r\n"},
               {"zxtab.pas", "unit ZxTab;\r\ninterface\r\nuses BROKEN;\r\nend.\r\n"}};
  ExpectBuildFailure(p.Installer(), kFailureCaption,
                     "zxtab.pas(3) Error: Undeclared identifier: 'BROKEN'\r"
                     "Fatal: File not found: 'ZxMissing.pas'\r");
  EXPECT_FALSE(harness::FileExists(SystemDir() + "zxctd5.BPL"));
  EXPECT_TRUE(harness::ValueNames(HKEY_CURRENT_USER, p.KnownPackagesKey()).empty());
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST(PackageBuild, ForeignIdeBuildGivesTheIncompatibleVersionMessage) {
  Product p("D4", "--build 5.83");
  p.payload[1].data = "unit ZxTab;\r\nBROKEN\r\nend.\r\n";
  ExpectBuildFailure(p.Installer(), "Setup", kIncompatibleVersionText);
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST(PackageBuild, ToolThatCannotStartShowsAnEmptyBox) {
  Product p("D5");
  const int captureFiles = CaptureFilesLeft();
  ASSERT_TRUE(DeleteFileA((p.ide.Root() + "Bin\\dcc32.exe").c_str()));
  ExpectBuildFailure(p.Installer(), kFailureCaption, "");
  EXPECT_EQ(CaptureFilesLeft(), captureFiles);
}

TEST(PackageBuild, WithoutTheIdeNothingRunsFromTheCurrentFolder) {
  Product p("D5");
  fakeide::Uninstall("D5");
  // A dcc32.exe that would build the package, where a bare "Bin\" points.
  const std::string planted = p.dir + "Bin\\";
  CreateDirectoryA(planted.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((harness::BinDir() + "fakeide_dcc32.exe").c_str(), (planted + "dcc32.exe").c_str(), FALSE));
  Session run(p.Installer(), p.dir);
  run.Expect("Welcome!").Press("OK");
  run.Answer(kFailureCaption, "", "OK");
  run.Answer(kFailureCaption, "Installation failed.", "OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::FileExists(p.installDir + "zxctd5.dcu")) << "the planted tool ran";
}

TEST(HelpRegistration, UnwritableContentsFileFailsTheRunLeavingItsLines) {
  Product p("D5");
  p.Set("BUILDPACKAGES", "").Set("HELPFILES", "TABREL.HLP=Corvane Tabrel Help\r\n");
  const std::string contents = p.ide.Root() + "HELP\\delphi5.cnt";
  const std::string before = harness::ReadFileBytes(contents);
  const std::string exe = p.Installer();
  {
    // Another reader that shares only reading: the file cannot be replaced.
    FileHandle reader(CreateFileA(contents.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    Session run(exe);
    run.Expect("Welcome!").Press("OK");
    run.Answer(kFailureCaption, "Installation failed.", "OK");
    run.ExpectEnd();
  }
  EXPECT_EQ(harness::ReadFileBytes(contents), before);
}

TEST(HelpRegistration, NoContentsFileNoIndexAndNoValue) {
  Product p("D5", "--no-help");
  p.Set("BUILDPACKAGES", "").Set("HELPFILES", "tabrel.hlp=Corvane Tabrel Help\r\n");
  harness::RunToCompletion(p.Installer());
  EXPECT_TRUE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(harness::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, kInstalledHelpsValue).has_value());
}

TEST(HelpRegistration, NoHelpLinesWriteAnEmptyValue) {
  Product p("D5");
  p.Set("BUILDPACKAGES", "").Set("HELPFILES", "tabrel.cnt\r\ntabrel.txt=Text\r\n");
  harness::RunToCompletion(p.Installer());
  EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, kInstalledHelpsValue), "");
}
