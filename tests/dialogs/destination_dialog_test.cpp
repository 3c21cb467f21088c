// The destination step with its dialog, as a user meets it: the proposed
// folder, the ways to confirm and to cancel, commands that must not end it,
// the refusal of folders that are no full path, and the Browse button.
#include <windows.h>

#include "tests/dialogs/read_folders.h"
#include "tests/harness/harness.h"

using harness::Session;

namespace {

const char kApp[] = "Destination Dialog Test";
const char kCaption[] = "Select Destination Directory";
const char kUninstallEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Destination Dialog Test";
const char kFullPathHint[] = "Please enter the full path of a folder, for example C:\\Corvane\\Product.";

// An installer in `dir` that proposes `installDir` in the dialog; nothing
// of the product is recorded yet.
std::string Installer(const std::string& dir, const std::string& installDir) {
  harness::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallEntry);
  const std::string exe = dir + "setup.exe";
  harness::MakeInstaller(exe, {{"APPNAME", kApp},
                               {"INSTALLDIR", installDir},
                               {"PROMPTINSTALLDIR", "Yes"},
                               {"CHECKPREVVERSION", "No"},
                               {"CHECKDELPHI", "No"},
                               {"SUCCESSMESSAGE", "Yes"}});
  return exe;
}

harness::Box OpenDialog(Session& run) {
  run.Expect("Welcome!").Press("OK");
  return run.Expect(kCaption);
}

HWND Edit(const harness::Box& dialog) { return GetDlgItem(dialog.hwnd, 1000); }
std::string EditText(const harness::Box& dialog) { return gui::ControlText(dialog.hwnd, 1000); }

// The destination the run went on with, as the uninstall entry records it.
std::string RecordedDestination() {
  const std::string command =
      harness::ReadString(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString").value_or("(no entry)");
  const std::string tail = std::string("UnInstall.exe\" \"") + kApp + "\"";
  if (command.size() < tail.size() + 1 || command.compare(command.size() - tail.size(), tail.size(), tail) != 0)
    return "(unexpected entry " + command + ")";
  return command.substr(1, command.size() - tail.size() - 1);
}

// The run after the destination, up to its end: it completes.
void ExpectCompletion(Session& run) {
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
}

void ExpectQuietEnd(Session& run) {
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry)) << "nothing is written";
}

// The folder browser that Browse opened over `dialog`, at the edit's folder.
HWND OpenBrowser(Session& run, const harness::Box& dialog) {
  ReadFoldersUpTo(gui::ControlText(dialog.hwnd, 1000) + "\\");
  gui::PressButton(dialog.hwnd, 3);
  HWND browser = nullptr;
  auto opened = [&] {
    for (HWND w : gui::VisibleWindows(run.Program().Id()))
      if (w != dialog.hwnd && GetWindow(w, GW_OWNER) == dialog.hwnd) browser = w;
    return browser != nullptr;
  };
  if (!gui::WaitUntil(opened, harness::kComeMs)) ADD_FAILURE() << "Browse opened no folder browser";
  return browser;
}

bool HasText(HWND window, const std::string& text) {
  for (const gui::Control& c : gui::Controls(window))
    if (c.text == text) return true;
  return false;
}

// Confirms the browser with OK and waits until it is gone.
void ConfirmBrowser(HWND browser) {
  ASSERT_TRUE(browser);
  ASSERT_TRUE(gui::PressButton(browser, std::string("OK")));
  ASSERT_TRUE(gui::WaitForWindowGone(browser, 10000));
}

}  // namespace

TEST(DestinationDialog, ShowsTheProposedFolder) {
  const std::string dir = harness::TestDir();
  const std::string proposed = dir + "Corvane\\Tab_D5";
  Session run(Installer(dir, proposed));
  const harness::Box dialog = OpenDialog(run);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(gui::ClassName(dialog.hwnd), "#32770");
  const std::vector<gui::Control> controls = gui::Controls(dialog.hwnd);
  ASSERT_EQ(controls.size(), 5u);
  const std::pair<int, const char*> expected[] = {
      {1000, ""}, {1, "OK"}, {2, "Cancel"}, {65535, "Destination Directory:"}, {3, "Browse..."}};
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i].id, expected[i].first) << "control " << i + 1;
    if (i > 0) {
      EXPECT_EQ(controls[i].text, expected[i].second) << "control " << i + 1;
    }
  }
  EXPECT_EQ(EditText(dialog), proposed);
  dialog.Press("Cancel");
  ExpectQuietEnd(run);
}

TEST(DestinationDialog, OkGivesTheFolderWithOneBackslash) {
  const std::string dir = harness::TestDir();
  const std::string proposed = dir + "Corvane\\Tab_D5";
  Session run(Installer(dir, proposed));
  OpenDialog(run).Press("OK");
  ExpectCompletion(run);
  EXPECT_EQ(RecordedDestination(), proposed + "\\");
}

TEST(DestinationDialog, EnterConfirmsAndABackslashIsNotDoubled) {
  const std::string dir = harness::TestDir();
  const std::string proposed = dir + "Ends In Backslash\\";
  Session run(Installer(dir, proposed));
  const harness::Box dialog = OpenDialog(run);
  gui::PressKey(Edit(dialog), VK_RETURN);
  EXPECT_TRUE(gui::WaitForWindowGone(dialog.hwnd, 10000));
  ExpectCompletion(run);
  EXPECT_EQ(RecordedDestination(), proposed);
}

TEST(DestinationDialog, TypedFolderIsTaken) {
  const std::string dir = harness::TestDir();
  const std::string typed = dir + "Typed Here";
  Session run(Installer(dir, "C:\\Proposed"));
  const harness::Box dialog = OpenDialog(run);
  gui::SetControlText(dialog.hwnd, 1000, typed);
  dialog.Press("OK");
  ExpectCompletion(run);
  EXPECT_EQ(RecordedDestination(), typed + "\\");
}

TEST(DestinationDialog, EscCancelAndCloseEndTheRunQuietly) {
  const std::string dir = harness::TestDir();
  for (const char* way : {"Esc", "Cancel", "close button"}) {
    SCOPED_TRACE(way);
    Session run(Installer(dir, "C:\\Corvane\\Quiet"));
    const harness::Box dialog = OpenDialog(run);
    ASSERT_TRUE(dialog);
    if (std::string(way) == "Esc") gui::PressKey(Edit(dialog), VK_ESCAPE);
    if (std::string(way) == "Cancel") dialog.Press("Cancel");
    if (std::string(way) == "close button") gui::CloseWindow(dialog.hwnd);
    ExpectQuietEnd(run);
  }
}

TEST(DestinationDialog, NotificationsDoNotEndIt) {
  Session run(Installer(harness::TestDir(), "C:\\Corvane\\Notified"));
  const harness::Box dialog = OpenDialog(run);
  ASSERT_TRUE(dialog);
  PostMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
  PostMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x300), 0);
  PostMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(1000, EN_CHANGE), reinterpret_cast<LPARAM>(Edit(dialog)));
  gui::SetControlText(dialog.hwnd, 1000, "C:\\Corvane\\Edited");  // a real EN_CHANGE
  gui::WaitUntil([&] { return gui::VisibleWindows(run.Program().Id()).size() != 1; }, 700);
  const std::vector<HWND> open = gui::VisibleWindows(run.Program().Id());
  ASSERT_EQ(open.size(), 1u) << "only the dialog is open";
  EXPECT_EQ(open.front(), dialog.hwnd);
  dialog.Press("Cancel");
  ExpectQuietEnd(run);
}

TEST(DestinationDialog, RelativeFolderIsRefusedAndAskedAgain) {
  const std::string dir = harness::TestDir();
  const std::string full = dir + "Second Try";
  Session run(Installer(dir, "Corvane\\Tab"));
  harness::Box dialog = OpenDialog(run);
  dialog.Press("OK");
  run.Answer("Setup", std::string("The destination folder \"Corvane\\Tab\\\" is not a full path.\r\n") + kFullPathHint,
             "OK");
  dialog = run.Expect(kCaption);
  EXPECT_EQ(EditText(dialog), "Corvane\\Tab") << "the dialog comes back with the text entered";
  gui::SetControlText(dialog.hwnd, 1000, full);
  dialog.Press("OK");
  ExpectCompletion(run);
  EXPECT_EQ(RecordedDestination(), full + "\\");
}

TEST(DestinationDialog, EmptyFolderIsRefusedAndCancelStillEndsQuietly) {
  Session run(Installer(harness::TestDir(), "C:\\Corvane\\Emptied"));
  harness::Box dialog = OpenDialog(run);
  gui::SetControlText(dialog.hwnd, 1000, "");
  dialog.Press("OK");
  run.Answer("Setup", std::string("No destination folder was given.\r\n") + kFullPathHint, "OK");
  dialog = run.Expect(kCaption);
  EXPECT_EQ(EditText(dialog), "");
  dialog.Press("Cancel");
  ExpectQuietEnd(run);
}

TEST(DestinationDialog, BrowseOpensAtTheEditsFolderAndOkWritesItBack) {
  const std::string dir = harness::TestDir();
  const std::string start = dir + "Start Here\\Inner";
  CreateDirectoryA((dir + "Start Here").c_str(), nullptr);
  CreateDirectoryA(start.c_str(), nullptr);
  Session run(Installer(dir, start + "\\"));
  const harness::Box dialog = OpenDialog(run);
  HWND browser = OpenBrowser(run, dialog);
  ASSERT_TRUE(browser);
  EXPECT_TRUE(HasText(browser, "Select the installation folder")) << gui::Describe(browser);
  EXPECT_FALSE(IsWindowEnabled(dialog.hwnd)) << "the browser is modal to the dialog";
  ConfirmBrowser(browser);
  // Confirmed as opened: the folder the edit named, as the shell spells it.
  EXPECT_EQ(EditText(dialog), start);
  dialog.Press("OK");
  ExpectCompletion(run);
  EXPECT_EQ(RecordedDestination(), start + "\\");
}

TEST(DestinationDialog, BrowseCancelLeavesTheEdit) {
  const std::string dir = harness::TestDir();
  const std::string proposed = dir + "Not Browsed\\\\";
  Session run(Installer(dir, proposed));
  const harness::Box dialog = OpenDialog(run);
  HWND browser = OpenBrowser(run, dialog);
  ASSERT_TRUE(browser);
  ASSERT_TRUE(gui::PressButton(browser, std::string("Cancel")));
  ASSERT_TRUE(gui::WaitForWindowGone(browser, 10000));
  EXPECT_EQ(EditText(dialog), proposed);
  dialog.Press("Cancel");
  ExpectQuietEnd(run);
}

TEST(DestinationDialog, BrowsedDriveRootKeepsItsBackslash) {
  Session run(Installer(harness::TestDir(), "C:\\"));
  const harness::Box dialog = OpenDialog(run);
  ConfirmBrowser(OpenBrowser(run, dialog));
  EXPECT_EQ(EditText(dialog), "C:\\");
  dialog.Press("OK");
  ExpectCompletion(run);
  EXPECT_EQ(RecordedDestination(), "C:\\") << "no second backslash";
}

TEST(DestinationDialog, BrowseFromAnEmptyEditStartsAtTheCurrentFolder) {
  const std::string dir = harness::TestDir();
  const std::string work = dir + "Work Folder";
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string exe = Installer(dir, "");
  Session run(exe, work);
  const harness::Box dialog = OpenDialog(run);
  ReadFoldersUpTo(work + "\\");
  ConfirmBrowser(OpenBrowser(run, dialog));
  EXPECT_EQ(EditText(dialog), work);
  dialog.Press("Cancel");
  ExpectQuietEnd(run);
}
