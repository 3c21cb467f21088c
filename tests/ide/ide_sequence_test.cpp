// The IDE as the installation sequence meets it: the running-IDE warning,
// the help folder chosen at start-up, and the IDE's root folder in the
// registry as templates and failures show it.
#include "support/registry.h"
#include "tests/harness/harness.h"
#include "tests/ide/fake_ide.h"

using harness::RunToCompletion;
using harness::Session;

namespace {

const char kApp[] = "IDE Sequence Test";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\IDE Sequence Test";
const char kWarning[] =
    "You have one or more of the following applications running. It is highly recommended that you shut down "
    "these applications before you can install IDE Sequence Test.\r\n\r\nBorland Delphi\r\nBorland C++ Builder\r\n";

struct Script {
  std::string dir = harness::TestDir();
  std::string installDir = dir + "Installed\\";
  ScriptValues values = {{"APPNAME", kApp},          {"INSTALLDIR", installDir}, {"PROMPTINSTALLDIR", "No"},
                         {"CHECKPREVVERSION", "No"}, {"SUCCESSMESSAGE", "Yes"},  {"DELPHIVER", "D4"}};
  Script() { harness::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey); }
  ~Script() { harness::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey); }
  Script& Set(const std::string& key, const std::string& value) {
    harness::SetScriptValue(values, key, value);
    return *this;
  }
  std::string Installer() const {
    const std::string exe = dir + "setup.exe";
    harness::MakeInstaller(exe, values);
    return exe;
  }
};

}  // namespace

TEST(RunningIde, WarningOkGoesOn) {
  Script script;
  fakeide::RunningIde ide(fakeide::kAllIdeWindows);
  Session run(script.Installer());
  run.Expect("Welcome!").Press("OK");
  harness::Box warning = run.Expect("Installation Warning");
  EXPECT_EQ(warning.text, kWarning);
  EXPECT_EQ(warning.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  warning.Press("OK");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
  EXPECT_TRUE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST(RunningIde, WarningCancelEndsQuietlyWritingNothing) {
  Script script;
  fakeide::RunningIde ide(fakeide::kAllIdeWindows);
  Session run(script.Installer());
  run.Expect("Welcome!").Press("OK");
  run.Answer("Installation Warning", kWarning, "Cancel");
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(harness::FolderExists(script.installDir));
}

TEST(RunningIde, TwoOfThreeWindowsAreNoRunningIde) {
  Script script;
  fakeide::RunningIde ide("TPropertyInspector,TAppBuilder");
  RunToCompletion(script.Installer());
}

TEST(RunningIde, OnlyAnExactNoSkipsTheCheck) {
  fakeide::RunningIde ide(fakeide::kAllIdeWindows);
  {
    Script script;
    RunToCompletion(script.Set("CHECKDELPHI", "No").Installer());
  }
  Script script;
  Session run(script.Set("CHECKDELPHI", "no").Installer());
  run.Expect("Welcome!").Press("OK");
  run.Answer("Installation Warning", kWarning, "Cancel");
  run.ExpectEnd();
}

namespace {
// Where the payload's help file goes: the IDE's help folder when its help
// contents file was found at start-up, the installation folder otherwise.
std::string PlacedHelpFile(const std::string& code, const std::string& installOptions) {
  Script script;
  fakeide::Edition ide("D4", script.dir + "Borland\\Delphi4", installOptions);
  script.Set("DELPHIVER", code).Set("CHECKDELPHI", "No").Set("HELPFILES", "zxhelp.hlp=Corvane Help\r\n");
  script.Set("CABFILE", harness::MakeRarArchive({{"help\\zxhelp.hlp", "help"}}));
  RunToCompletion(script.Installer());
  const std::string inIde = ide.Root() + "HELP\\zxhelp.hlp";
  const std::string inInstallDir = script.installDir + "help\\zxhelp.hlp";
  const bool idePlace = harness::FileExists(inIde);
  EXPECT_NE(idePlace, harness::FileExists(inInstallDir)) << "the file is in exactly one place";
  return idePlace ? "ide" : "installdir";
}
}  // namespace

TEST(IdeHelpFolder, ChosenByTheHelpContentsFile) {
  EXPECT_EQ(PlacedHelpFile("D4", ""), "ide");
  EXPECT_EQ(PlacedHelpFile("d4", ""), "ide") << "the code's case does not matter";
  EXPECT_EQ(PlacedHelpFile("D4", "--no-help"), "installdir") << "IDE there, contents file not";
  fakeide::Uninstall("D5");
  EXPECT_EQ(PlacedHelpFile("D5", ""), "installdir") << "another edition's IDE";
  EXPECT_EQ(PlacedHelpFile("D 4", ""), "ide") << "an unknown code stands for D4";
}

namespace {
// The destination dialog's folder for INSTALLDIR `installDir`; the run is cancelled there.
std::string ProposedFolder(Script& script, const std::string& installDir) {
  Session run(script.Set("INSTALLDIR", installDir).Set("PROMPTINSTALLDIR", "Yes").Set("CHECKDELPHI", "No").Installer());
  run.Expect("Welcome!").Press("OK");
  harness::Box dialog = run.Expect("Select Destination Directory");
  const std::string folder = gui::ControlText(dialog.hwnd, 1000);
  dialog.Press("Cancel");
  run.ExpectEnd();
  return folder;
}
}  // namespace

TEST(IdeHelpTokens, EachTokenNamesItsEdition) {
  const std::pair<const char*, const char*> tokens[] = {
      {"%C1_HELP%", "C1"}, {"%C3_HELP%", "C3"}, {"%D2_HELP%", "D2"}, {"%D3_HELP%", "D3"}, {"%D4_HELP%", "D4"}};
  for (const auto& token : tokens) {
    SCOPED_TRACE(token.first);
    Script script;
    fakeide::Edition ide(token.second, script.dir + "Borland\\" + token.second, "--no-help");
    EXPECT_EQ(ProposedFolder(script, std::string(token.first) + "Corvane"), ide.Root() + "HELP\\Corvane");
  }
}

TEST(IdeRootDir, ValueTypesAsTheSequenceSeesThem) {
  const char key[] = "Software\\Borland\\Delphi\\4.0";
  fakeide::Uninstall("D4");
  RegKey ide;
  ASSERT_TRUE(CreateRegistryKey(HKEY_LOCAL_MACHINE, key, ide));
  auto set = [&](DWORD type, const void* data, DWORD size) {
    EXPECT_EQ(RegSetValueExA(ide.Get(), "RootDir", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  };
  {
    Script script;
    set(REG_SZ, "C:\\Borland\\D4", 14);
    EXPECT_EQ(ProposedFolder(script, "%D4_HELP%Corvane"), "C:\\Borland\\D4\\HELP\\Corvane");
  }
  {
    Script script;
    set(REG_EXPAND_SZ, "C:\\%WINDIR%\\D4", 15);
    EXPECT_EQ(ProposedFolder(script, "%D4_HELP%Corvane"), "C:\\%WINDIR%\\D4\\HELP\\Corvane") << "not expanded";
  }
  {
    Script script;
    set(REG_SZ, "", 1);
    EXPECT_EQ(ProposedFolder(script, "C:\\%D4_HELP%Corvane"), "C:\\HELP\\Corvane");
  }
  {
    Script script;
    RegDeleteValueA(ide.Get(), "RootDir");
    EXPECT_EQ(ProposedFolder(script, "C:\\%D4_HELP%Corvane"), "C:\\HELP\\Corvane");
  }
  {
    Script script;
    const DWORD number = 4;
    set(REG_DWORD, &number, sizeof number);
    // The help contents file is looked for at start-up, before the welcome.
    Session run(script.Set("CHECKDELPHI", "No").Installer());
    run.Answer("An error occured during installation.", "Installation failed.", "OK");
    run.ExpectEnd();
    EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  }
  ide.Reset();
  harness::DeleteKey(HKEY_LOCAL_MACHINE, key);
}
