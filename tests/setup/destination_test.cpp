// The destination step without dialog, and what happens after the payload.
#include "tests/harness/harness.h"

using harness::Session;

namespace {

ScriptValues Script(const std::string& installDir) {
  return {{"APPNAME", "Destination Test"}, {"INSTALLDIR", installDir}, {"PROMPTINSTALLDIR", "No"},
          {"CHECKPREVVERSION", "No"},      {"CHECKDELPHI", "No"},      {"SUCCESSMESSAGE", "Yes"}};
}

const char kFullPathHint[] = "Please enter the full path of a folder, for example C:\\Corvane\\Product.";

}  // namespace

TEST(Destination, RelativeFolderIsRefused) {
  const std::string exe = harness::TestDir() + "setup.exe";
  harness::MakeInstaller(exe, Script("Corvane\\Tab"));
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  run.Answer("Setup", std::string("The destination folder \"Corvane\\Tab\\\" is not a full path.\r\n") + kFullPathHint,
             "OK");
  run.ExpectEnd();
}

TEST(Destination, EmptyFolderIsRefused) {
  const std::string exe = harness::TestDir() + "setup.exe";
  harness::MakeInstaller(exe, Script(""));
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  run.Answer("Setup", std::string("No destination folder was given.\r\n") + kFullPathHint, "OK");
  run.ExpectEnd();
}

TEST(Destination, TemplateOfAMissingIdeGivesARelativeFolder) {
  harness::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Borland\\Delphi\\4.0");
  const std::string exe = harness::TestDir() + "setup.exe";
  harness::MakeInstaller(exe, Script("%D4_HELP%Corvane"));
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  run.Answer("Setup", std::string("The destination folder \"HELP\\Corvane\\\" is not a full path.\r\n") + kFullPathHint,
             "OK");
  run.ExpectEnd();
}

namespace {
// An installer whose RUNAFTERINSTALL names `file`; the marker program is put
// into the destination as "run me.exe".
std::string RunAfterInstaller(const std::string& dir, const std::string& file) {
  EXPECT_TRUE(CopyFileA((harness::BinDir() + "marker.exe").c_str(), (dir + "run me.exe").c_str(), FALSE));
  ScriptValues script = Script(dir);
  script.emplace_back("RUNAFTERINSTALL", file);
  const std::string exe = dir + "setup.exe";
  harness::MakeInstaller(exe, script);
  return exe;
}
}  // namespace

TEST(RunAfterInstall, OkOpensTheFileInTheDestination) {
  const std::string dir = harness::TestDir();
  Session run(RunAfterInstaller(dir, "run me.exe"));
  run.Expect("Welcome!").Press("OK");
  harness::Box question = run.Expect("Welcome!");
  EXPECT_EQ(question.text, "Would you like to run run me.exe right now?");
  EXPECT_EQ(question.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  question.Press("OK");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
  gui::WaitUntil([&] { return harness::FileExists(dir + "ran.txt"); }, harness::kComeMs);
  EXPECT_EQ(harness::ReadFileBytes(dir + "ran.txt") + "\\", dir) << "the file runs in the destination folder";
}

TEST(RunAfterInstall, CancelOpensNothing) {
  const std::string dir = harness::TestDir();
  Session run(RunAfterInstaller(dir, "run me.exe"));
  run.Expect("Welcome!").Press("OK");
  run.Answer("Welcome!", "Would you like to run run me.exe right now?", "Cancel");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
  EXPECT_FALSE(gui::WaitUntil([&] { return harness::FileExists(dir + "ran.txt"); }, 500));
}

TEST(RunAfterInstall, ValueIsNotTrimmed) {
  const std::string dir = harness::TestDir();
  Session run(RunAfterInstaller(dir, "run me.exe\r\n"));
  run.Expect("Welcome!").Press("OK");
  run.Answer("Welcome!", "Would you like to run run me.exe\r\n right now?", "OK");
  // No such file: nothing is reported, the run completes.
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
  EXPECT_FALSE(gui::WaitUntil([&] { return harness::FileExists(dir + "ran.txt"); }, 500));
}

TEST(Destination, OnlyAnExactNoSkipsTheDialog) {
  for (const char* value : {"no", "NO", "No\r\n", "No ", ""}) {
    SCOPED_TRACE(std::string("PROMPTINSTALLDIR=") + value);
    ScriptValues script = Script("C:\\Dir");
    harness::SetScriptValue(script, "PROMPTINSTALLDIR", value);
    const std::string exe = harness::TestDir() + "setup.exe";
    harness::MakeInstaller(exe, script);
    Session run(exe);
    run.Expect("Welcome!").Press("OK");
    harness::Box dialog = run.Expect("Select Destination Directory");
    EXPECT_EQ(gui::ControlText(dialog.hwnd, 1000), "C:\\Dir");
    dialog.Press("Cancel");
    run.ExpectEnd();
  }
}
