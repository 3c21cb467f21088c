// What a user meets when an earlier installation is on record: the product
// record at start-up, the uninstall-entry gate, and the entry a run leaves.
#include <gtest/gtest.h>

#include "tests/harness/harness.h"
#include "tests/records/registry_fixture.h"

using harness::Session;

namespace {

const char kApp[] = "ZX Records Scenario";
const char kProduct[] = "ZX Records Scenario Product";
const std::string kRecord = fixture::ProductRecordKey(kProduct);
const std::string kEntry = fixture::UninstallEntryKey(kApp);
const char kWarningCaption[] = "Installation Error";
const char kWarning[] =
    "Setup has detected that previous version of ZX Records Scenario is already installed. It is highly "
    "recommended that you uninstall previous version before you can install ZX Records Scenario.\r\n\r\n"
    "Press the OK button to continue the installation.\r\n"
    "Press the Cancel button to abort the installation.";
const char kTemplateCommand[] = "\"C:\\zxrec\\Template\\UnInstall.exe\" \"ZX Records Scenario\"";

ScriptValues Script(const std::string& checkPrevVersion = "") {
  ScriptValues values = {{"APPNAME", kApp},       {"PRODUCTNAME", kProduct},   {"SUBPRODUCTNAME", "Std;Pro"},
                         {"VERSION", "2.0 Beta"}, {"INTERNALVERSION", "2.0b"}, {"INSTALLDIR", "C:\\zxrec\\Template"},
                         {"DELPHIVER", "D5"},     {"PROMPTINSTALLDIR", "No"},  {"SUCCESSMESSAGE", "Yes"},
                         {"CHECKDELPHI", "No"}};
  if (!checkPrevVersion.empty()) values.emplace_back("CHECKPREVVERSION", checkPrevVersion);
  return values;
}

std::string Installer(const ScriptValues& values) {
  std::string exe = harness::TestDir() + "setup.exe";
  harness::MakeInstaller(exe, values);
  return exe;
}

class Records : public ::testing::Test {
 protected:
  void SetUp() override {
    harness::DeleteKey(HKEY_CURRENT_USER, kRecord);
    harness::DeleteKey(HKEY_LOCAL_MACHINE, kEntry);
  }
  void TearDown() override { SetUp(); }
  void RecordVersion(const std::string& version, const std::string& folder = "C:\\zxrec\\Recorded") {
    fixture::SetString(HKEY_CURRENT_USER, kRecord, "Version", version);
    fixture::SetString(HKEY_CURRENT_USER, kRecord, "FolderName", folder);
  }
  // An entry as an earlier installation left it; VERSION shows whether this run rewrote it.
  void EarlierEntry() { fixture::SetString(HKEY_LOCAL_MACHINE, kEntry, "VERSION", "earlier"); }
  std::optional<std::string> Entry(const std::string& name) {
    return harness::ReadString(HKEY_LOCAL_MACHINE, kEntry, name);
  }
  // Welcome, then the run to its end.
  void Complete(Session& run) {
    run.Expect("Welcome!").Press("OK");
    run.Answer("Setup", "Installation completed.", "OK");
    run.ExpectEnd();
  }
};

}  // namespace

TEST_F(Records, FirstInstallationWritesTheUninstallEntry) {
  Session run(Installer(Script()));
  Complete(run);
  EXPECT_EQ(Entry("PRODUCTNAME"), kProduct);
  EXPECT_EQ(Entry("SUBPRODUCTNAME"), "Std;Pro");
  EXPECT_EQ(Entry("FOLDERS"), "");
  EXPECT_EQ(Entry("REGKEYS"), "");
  EXPECT_EQ(Entry("APPNAME"), kApp);
  EXPECT_EQ(Entry("DELPHIVER"), "D5");
  EXPECT_EQ(Entry("DisplayName"), kApp);
  EXPECT_EQ(Entry("UninstallString"), kTemplateCommand);
  EXPECT_EQ(Entry("VERSION"), "2.0 Beta");
  EXPECT_TRUE(harness::KeyExists(HKEY_LOCAL_MACHINE, kEntry + "\\Files"));
}

TEST_F(Records, OtherVersionWarnsBeforeTheWelcome) {
  RecordVersion("1.0");
  Session run(Installer(Script()));
  run.Answer(kWarningCaption, kWarning, "OK");
  Complete(run);
  // The recorded folder belongs to the other version: the template is proposed.
  EXPECT_EQ(Entry("UninstallString"), kTemplateCommand);
}

TEST_F(Records, CancelAtTheStartUpWarningWritesNothing) {
  RecordVersion("1.0");
  Session run(Installer(Script()));
  harness::Box warning = run.Expect(kWarningCaption);
  EXPECT_EQ(warning.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  warning.Press("Cancel");
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, kRecord, "Version"), "1.0");
}

TEST_F(Records, OtherVersionWithUninstallEntryWarnsTwice) {
  RecordVersion("1.0");
  EarlierEntry();
  {
    Session run(Installer(Script()));
    run.Answer(kWarningCaption, kWarning, "OK");
    run.Expect("Welcome!").Press("OK");
    run.Answer(kWarningCaption, kWarning, "Cancel");
    run.ExpectEnd();
    EXPECT_EQ(Entry("VERSION"), "earlier");
    EXPECT_EQ(Entry("UninstallString"), std::nullopt);
  }
  Session run(Installer(Script()));
  run.Answer(kWarningCaption, kWarning, "OK");
  run.Expect("Welcome!").Press("OK");
  run.Answer(kWarningCaption, kWarning, "OK");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
  EXPECT_EQ(Entry("VERSION"), "2.0 Beta");
}

TEST_F(Records, SameVersionProposesTheRecordedFolder) {
  RecordVersion("2.0B", "C:\\zxrec\\Recorded Here");
  EarlierEntry();
  Session run(Installer(Script("No")));
  Complete(run);
  EXPECT_EQ(Entry("UninstallString"), "\"C:\\zxrec\\Recorded Here\\UnInstall.exe\" \"ZX Records Scenario\"");
}

TEST_F(Records, SameVersionWithoutRecordedFolderIsRefused) {
  fixture::SetString(HKEY_CURRENT_USER, kRecord, "Version", "2.0b");
  Session run(Installer(Script()));
  run.Expect("Welcome!").Press("OK");
  harness::Box refusal = run.Expect("Setup");
  EXPECT_NE(refusal.text.find("No destination folder"), std::string::npos) << refusal.text;
  refusal.Press("OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kEntry));
}

TEST_F(Records, GateAsksOnlyWhenTheUninstallEntryExists) {
  EarlierEntry();
  {
    Session run(Installer(Script()));
    run.Expect("Welcome!").Press("OK");
    harness::Box warning = run.Expect(kWarningCaption);
    EXPECT_EQ(warning.text, kWarning);
    warning.Press("Cancel");
    run.ExpectEnd();
    EXPECT_EQ(Entry("VERSION"), "earlier");
  }
  {
    // Only the exact word switches the gate off.
    Session run(Installer(Script("no")));
    run.Expect("Welcome!").Press("OK");
    run.Answer(kWarningCaption, kWarning, "OK");
    run.Answer("Setup", "Installation completed.", "OK");
    run.ExpectEnd();
    EXPECT_EQ(Entry("VERSION"), "2.0 Beta");
  }
  EarlierEntry();
  Session run(Installer(Script("No")));
  Complete(run);
  EXPECT_EQ(Entry("VERSION"), "2.0 Beta");
}

TEST_F(Records, DamagedRecordEndsTheRunAsFailure) {
  fixture::SetDword(HKEY_CURRENT_USER, kRecord, "Version", 2);
  Session run(Installer(Script()));
  run.Answer("An error occured during installation.", "Installation failed.", "OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kEntry));
}

// A shared count that an earlier program stored as text ends the run with
// "Installation failed." and stays as it was.
TEST_F(Records, SharedCountStoredAsTextEndsTheRunAsFailure) {
  const std::string file = "C:\\zxrec\\Template\\shared.txt";
  fixture::SetString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, file, "7");
  ScriptValues values = Script();
  values.emplace_back("CABFILE", harness::MakeRarArchive({{"shared.txt", "data"}}));
  Session run(Installer(values));
  run.Expect("Welcome!").Press("OK");
  run.Answer("An error occured during installation.", "Installation failed.", "OK");
  run.ExpectEnd();
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, fixture::kSharedCountsKey, file), "7");
  EXPECT_EQ(Entry("DisplayName"), std::nullopt);  // the entry is never finished
  fixture::DeleteValue(HKEY_CURRENT_USER, fixture::kSharedCountsKey, file);
  DeleteFileA(file.c_str());
}

// Without an APPNAME the uninstall entry would be the system's Uninstall key
// itself: the run fails before anything is written.
TEST_F(Records, EmptyAppNameWritesNothing) {
  const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  for (const char* appName : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(appName ? "empty" : "missing");
    ScriptValues values;
    for (const auto& kv : Script())
      if (kv.first != "APPNAME") values.push_back(kv);
    if (appName) values.emplace_back("APPNAME", appName);
    Session run(Installer(values));
    run.Answer("An error occured during installation.", "Installation failed.", "OK");
    run.ExpectEnd();
    EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, uninstall + "\\Files"));
    EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"), std::nullopt);
    EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, kRecord, "Version"), std::nullopt);
  }
}
