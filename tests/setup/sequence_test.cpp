// The installation sequence as a user meets it: start-up, the gates, the
// destination without dialog, run-after-install and the final messages.
#include <gtest/gtest-spi.h>

#include "tests/harness/harness.h"

using harness::Session;

namespace {

const char kApp[] = "Sequence Test App";
const char kWelcome[] =
    "This program will install 'Sequence Test App Version 1.5' onto your computer. \r\n"
    "Press the OK button to start the installation.\r\n"
    "You can press the Cancel button if you do not want to install this software.";

ScriptValues BaseScript() {
  return {{"APPNAME", kApp},          {"VERSION", "1.5"},        {"INSTALLDIR", "C:\\SeqTest"},
          {"PROMPTINSTALLDIR", "No"}, {"SUCCESSMESSAGE", "Yes"}, {"CHECKPREVVERSION", "No"},
          {"CHECKDELPHI", "No"}};
}

ScriptValues With(ScriptValues values, const std::string& key, const std::string& value) {
  harness::SetScriptValue(values, key, value);
  return values;
}

ScriptValues Without(ScriptValues values, const std::string& key) {
  ScriptValues out;
  for (auto& kv : values)
    if (kv.first != key) out.push_back(kv);
  return out;
}

std::string Installer(const ScriptValues& values) {
  std::string exe = harness::TestDir() + "setup.exe";
  harness::MakeInstaller(exe, values);
  return exe;
}

}  // namespace

TEST(Sequence, WelcomeThenCompletedMessage) {
  std::string exe = Installer(BaseScript());
  Session run(exe);
  harness::Box welcome = run.Expect("Welcome!");
  EXPECT_EQ(welcome.text, kWelcome);
  EXPECT_EQ(welcome.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  welcome.Press("OK");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
}

TEST(Sequence, CancelAtWelcomeEndsQuietly) {
  std::string exe = Installer(BaseScript());
  Session run(exe);
  run.Answer("Welcome!", kWelcome, "Cancel");
  run.ExpectEnd();
}

TEST(Sequence, EmptyVersionGivesTitleWithoutVersion) {
  std::string exe = Installer(Without(BaseScript(), "VERSION"));
  Session run(exe);
  run.Answer("Welcome!",
             "This program will install 'Sequence Test App' onto your computer. \r\n"
             "Press the OK button to start the installation.\r\n"
             "You can press the Cancel button if you do not want to install this software.",
             "Cancel");
  run.ExpectEnd();
}

TEST(Sequence, SuccessMessageOnlyForExactYes) {
  for (const char* value : {"yes", "Yes ", "Yes\r\n", ""}) {
    SCOPED_TRACE(std::string("SUCCESSMESSAGE=") + value);
    std::string exe = Installer(With(BaseScript(), "SUCCESSMESSAGE", value));
    Session run(exe);
    run.Expect("Welcome!").Press("OK");
    run.ExpectEnd();
  }
  std::string exe = Installer(Without(BaseScript(), "SUCCESSMESSAGE"));
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  run.ExpectEnd();
}

TEST(Harness, AWindowThatNeverComesFailsNamingIt) {
  std::string exe = Installer(BaseScript());
  Session run(exe);
  EXPECT_NONFATAL_FAILURE(run.Expect("No Such Window", 1500), "window 'No Such Window' did not appear within 1 s");
  run.Expect("Welcome!").Press("Cancel");
  run.ExpectEnd();
}
