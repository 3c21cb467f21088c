// The payload step as the user's machine sees it: where every entry lands,
// what is recorded for the uninstaller, and how failures end the run.
#include <algorithm>
#include <cstdlib>

#include "support/handles.h"
#include "tests/harness/harness.h"

using harness::Session;
using harness::SystemDir;

namespace {

const char kApp[] = "Payload Test";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Payload Test";
const char kSupportText[] = "An error occured during installation.\r\nPlease contact support@corvane.example";

// A substitute Delphi 5 whose help contents file exists: IdeHelpDir is its HELP folder.
std::string InstallIdeWithHelp(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "HELP").c_str(), nullptr);
  harness::WriteFileBytes(root + "HELP\\delphi5.cnt", ":Base delphi5.hlp\r\n:Index Delphi =delphi5.hlp\r\n");
  RegKey key;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Borland\\Delphi\\5.0", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  key.Out(), nullptr);
  RegSetValueExA(key.Get(), "RootDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(root.c_str()),
                 static_cast<DWORD>(root.size() + 1));
  return root + "HELP\\";
}

void Forget() {
  harness::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey);
  harness::DeleteKey(HKEY_CURRENT_USER, "Software\\Corvane Company\\InstalledProducts\\Payload Product");
  harness::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Borland\\Delphi\\5.0");
}

struct Payload {
  std::string dir = harness::TestDir();
  std::string installDir = dir + "Installed\\";
  ScriptValues script = {
      {"APPNAME", kApp},          {"PRODUCTNAME", "Payload Product"}, {"SUBPRODUCTNAME", "Payload Product"},
      {"INTERNALVERSION", "1.0"}, {"INSTALLDIR", installDir},         {"DELPHIVER", "D5"},
      {"PROMPTINSTALLDIR", "No"}, {"CHECKPREVVERSION", "No"},         {"CHECKDELPHI", "No"},
      {"SUCCESSMESSAGE", "Yes"}};
  Payload() { Forget(); }
  void Set(const std::string& key, const std::string& value) { harness::SetScriptValue(script, key, value); }
  std::string Installer(const std::vector<harness::ArchiveEntry>& entries) {
    return InstallerOf(harness::MakeRarArchive(entries));
  }
  // An installer of exactly these archive bytes.
  std::string InstallerOf(const std::string& archive) {
    Set("CABFILE", archive);
    Set("UNRARDLL", harness::ReadFileBytes(harness::BinDir() + "unrar.dll"));
    const std::string exe = dir + "setup.exe";
    harness::MakeInstaller(exe, script);
    return exe;
  }
};

// Runs the installer through its welcome to the support-contact message that
// ends a failed extraction.
void RunToSupportMessage(const std::string& exe) {
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  run.Answer("Setup", kSupportText, "OK");
  run.ExpectEnd();
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  for (std::string& s : v) std::transform(s.begin(), s.end(), s.begin(), ::tolower);
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace

TEST(Payload, EveryKindOfEntryLandsInItsPlace) {
  Payload p;
  const std::string help = InstallIdeWithHelp(p.dir + "Delphi5\\");
  p.Set("SYSFILES", "zxpay_sys.bpl\r\n");
  p.Set("HELPFILES", "pay.cnt\r\npay.hlp=Payload Help\r\n");
  const std::string exe = p.Installer({{"docs", "", true},
                                       {"uninstall.exe", "uninstaller"},
                                       {"bin\\sys\\zxpay_sys.bpl", "system package"},
                                       {"help\\pay.hlp", "help with title"},
                                       {"help\\pay.cnt", "help without title"},
                                       {"docs\\read me.txt", "text"},
                                       {"units\\deep\\prod.inc", "{$I zx.inc}\r\n"}});
  harness::RunToCompletion(exe);
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "uninstall.exe"), "uninstaller");
  EXPECT_EQ(harness::ReadFileBytes(SystemDir() + "zxpay_sys.bpl"), "system package");
  EXPECT_FALSE(harness::FolderExists(p.installDir + "bin"));  // no folder for a system file
  EXPECT_EQ(harness::ReadFileBytes(help + "pay.hlp"), "help with title");
  EXPECT_EQ(harness::ReadFileBytes(help + "pay.cnt"), "help without title");
  EXPECT_TRUE(harness::FolderExists(p.installDir + "help"));  // its archive folder is still made
  EXPECT_FALSE(harness::FileExists(p.installDir + "help\\pay.hlp"));
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "docs\\read me.txt"), "text");
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "units\\deep\\prod.inc"), "{$I zx.inc}\r\n");

  // What the uninstaller is told: every file written, every folder created.
  EXPECT_EQ(Sorted(harness::ValueNames(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\Files")),
            Sorted({p.installDir + "uninstall.exe", SystemDir() + "zxpay_sys.bpl", help + "pay.hlp", help + "pay.cnt",
                    p.installDir + "docs\\read me.txt", p.installDir + "units\\deep\\prod.inc"}));
  EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "FOLDERS"),
            p.installDir.substr(0, p.installDir.size() - 1) + "\r\n" + p.installDir + "docs\r\n" + p.installDir +
                "help\r\n" + p.installDir + "units\r\n" + p.installDir + "units\\deep\r\n");
}

TEST(Payload, HelpFilesWithoutIdeHelpFolderAreOrdinaryFiles) {
  Payload p;
  p.Set("HELPFILES", "pay.hlp=Payload Help\r\n");
  harness::RunToCompletion(p.Installer({{"help\\pay.hlp", "help"}}));
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "help\\pay.hlp"), "help");
}

TEST(Payload, TwoSystemFilesOfOneNameShareTheirPlace) {
  Payload p;
  p.Set("SYSFILES", "zxpay_twice.dll\r\n");
  harness::RunToCompletion(p.Installer({{"a\\zxpay_twice.dll", "first"}, {"b\\ZXPAY_TWICE.DLL", "second"}}));
  EXPECT_EQ(harness::ReadFileBytes(SystemDir() + "zxpay_twice.dll"), "second");
  // Recorded twice: one "Files" value, and the shared count raised twice.
  EXPECT_EQ(harness::ValueNames(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\Files").size(), 1u);
}

TEST(Payload, HostileEntryNamesStayInside) {
  Payload p;
  const std::string outside = p.dir + "outside.txt";
  harness::RunToCompletion(p.Installer({{"..\\..\\x1.txt", "1"},
                                        {"\\x2.txt", "2"},
                                        {"C:\\x3.txt", "3"},
                                        {"a\\..\\..\\x4.txt", "4"},
                                        {"..\\outside.txt", "5"}}));
  EXPECT_FALSE(harness::FileExists(outside));
  EXPECT_FALSE(harness::FileExists("C:\\x3.txt"));
  EXPECT_FALSE(harness::FileExists("C:\\x2.txt"));
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "x1.txt"), "1");
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "x2.txt"), "2");
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "x3.txt"), "3");
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "a\\x4.txt"), "4");
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "outside.txt"), "5");
  for (const std::string& file : harness::ValueNames(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\Files"))
    EXPECT_EQ(file.rfind(p.installDir, 0), 0u) << file << " is recorded outside the destination";
}

TEST(Payload, ArchiveThatCannotBeOpenedRecordsNothing) {
  Payload p;
  p.Set("CABFILE", "this is not an archive");
  p.Set("UNRARDLL", harness::ReadFileBytes(harness::BinDir() + "unrar.dll"));
  const std::string exe = p.dir + "setup.exe";
  harness::MakeInstaller(exe, p.script);
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  harness::Box box = run.Expect("Setup");
  EXPECT_EQ(box.text, kSupportText);
  EXPECT_EQ(box.buttons, (std::vector<std::string>{"OK"}));
  box.Press("OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(harness::KeyExists(HKEY_CURRENT_USER, "Software\\Corvane Company\\InstalledProducts\\Payload Product"));
  EXPECT_FALSE(harness::FolderExists(p.installDir));
}

TEST(Payload, DamagedArchiveIsAFailureNotASuccess) {
  Payload p;
  std::string archive =
      harness::MakeRarArchive({{"first.txt", std::string(4000, 'a')}, {"second.txt", std::string(4000, 'b')}});
  archive.resize(archive.size() - 3000);  // the second entry is cut off
  RunToSupportMessage(p.InstallerOf(archive));
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "first.txt"), std::string(4000, 'a'));
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// The names in a folder, by listing it (a device name would answer to any
// look-up by name).
std::vector<std::string> NamesIn(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA((dir + "*").c_str(), &fd));
  if (!h) return names;
  do {
    if (std::string(fd.cFileName) != "." && std::string(fd.cFileName) != "..") names.push_back(fd.cFileName);
  } while (FindNextFileA(h.Get(), &fd));
  return names;
}

std::string FromHex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

// Damaged and crafted archives end in the support-contact message, in
// bounded time, with nothing recorded.
TEST(Payload, DamagedArchivesFailWithoutHanging) {
  std::vector<harness::ArchiveEntry> five;
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) five.push_back({name, name});
  const std::string whole = harness::MakeRarArchive(five);
  const struct {
    const char* what;
    std::string archive;
  } cases[] = {
      {"cut inside the first entry's header", whole.substr(0, 60)},
      {"cut after the last entry (no end-of-archive block)", whole.substr(0, whole.size() - 8)},
      {"RAR 5 size wrapping onto itself", FromHex("526172211a070100000000000c0302efffffffffffffffff01")},
      {"RAR 4 size wrapping onto itself",
       FromHex("526172211a070000007a00012900d7ffffff000000000200000000000000001d30010000000000ffffffff000000006e")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Payload p;
    RunToSupportMessage(p.InstallerOf(c.archive));
    EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  }
}

// An entry whose name Windows treats specially (a device, a stream, a name
// Windows would cut) is refused: the extraction fails, no device is opened,
// and the entry is neither written under another name nor recorded.
TEST(Payload, NamesWindowsTreatsSpeciallyFailTheExtraction) {
  for (const char* name : {"CON.txt", "docs\\nul", "a.txt:stream", "trailing.", "lpt1\\x.txt"}) {
    SCOPED_TRACE(name);
    Payload p;
    RunToSupportMessage(p.Installer({{"before.txt", "1"}, {name, "hostile"}, {"after.txt", "2"}}));
    EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    // The entries around it are extracted as usual, and nothing else.
    EXPECT_EQ(Sorted(NamesIn(p.installDir)), (std::vector<std::string>{"after.txt", "before.txt"}));
  }
}

// A destination file that another program holds open without sharing: the
// extraction fails with the support message and the file keeps its bytes.
TEST(Payload, LockedDestinationFileIsKeptAndReported) {
  Payload p;
  const std::string exe = p.Installer({{"locked.txt", "new"}, {"free.txt", "free"}});
  CreateDirectoryA(p.installDir.c_str(), nullptr);
  harness::WriteFileBytes(p.installDir + "locked.txt", "old");
  FileHandle lock(CreateFileA((p.installDir + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  RunToSupportMessage(exe);
  lock.Reset();
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "locked.txt"), "old");
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST(Payload, LibraryThatCannotBeLoadedFailsTheInstallation) {
  Payload p;
  p.Set("CABFILE", harness::MakeRarArchive({{"a.txt", "a"}}));
  p.Set("UNRARDLL", "MZ but not a library");
  const std::string exe = p.dir + "setup.exe";
  harness::MakeInstaller(exe, p.script);
  Session run(exe);
  run.Expect("Welcome!").Press("OK");
  harness::Box box = run.Expect("An error occured during installation.");
  EXPECT_EQ(box.text, "Installation failed.");
  box.Press("OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::FileExists(p.installDir + "a.txt"));
}

// A temporary folder that fills up while the payload is staged: the
// support message, nothing installed, and the staged files deleted.
TEST(Payload, FullTemporaryDiskIsAFailureNotASuccess) {
  const char* drive = std::getenv("ZX_FULL_DRIVE");
  const char* request = std::getenv("ZX_FSIZE_REQUEST");
  if (!drive && !request) GTEST_SKIP() << "run through full_disk.sh";
  Payload p;
  std::string big(1 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 2654435761u) >> 13);
  // A name no other process has: full_disk.sh finds the installer by it.
  const std::string name = "zxfull" + std::to_string(GetCurrentProcessId());
  p.Set("CABFILE", harness::MakeRarArchive({{"big.bin", big}}));
  p.Set("UNRARDLL", harness::ReadFileBytes(harness::BinDir() + "unrar.dll"));
  const std::string exe = p.dir + name + ".exe";
  harness::MakeInstaller(exe, p.script);
  const std::string tmp = drive ? std::string(drive) : p.dir + "tmp\\";
  CreateDirectoryA(tmp.c_str(), nullptr);
  char old[MAX_PATH] = {};
  GetEnvironmentVariableA("TMP", old, sizeof old);
  SetEnvironmentVariableA("TMP", tmp.c_str());  // the installer inherits it
  Session run(exe);
  SetEnvironmentVariableA("TMP", old);
  harness::Box welcome = run.Expect("Welcome!");
  if (!drive) {
    // Nothing is written before the welcome box is answered.
    harness::WriteFileBytes(std::string(request) + name + ".want", "");
    const std::string done = std::string(request) + name + ".done";
    ASSERT_TRUE(gui::WaitUntil([&] { return harness::FileExists(done); }, 10000)) << "the size limit was not set";
  }
  welcome.Press("OK");
  run.Answer("Setup", kSupportText, "OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::FileExists(p.installDir + "big.bin"));
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  // The staged files are gone: the folder has its room back.
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA((tmp + "*.tmp").c_str(), &fd));
  EXPECT_FALSE(h) << "left behind: " << fd.cFileName;
}

namespace {
// Lets the stepping library go on, and waits until it stops again.
class Stepper {
 public:
  Stepper()
      : ready_(CreateEventA(nullptr, FALSE, FALSE, "ZXStepReady")),
        go_(CreateEventA(nullptr, FALSE, FALSE, "ZXStepGo")) {}
  bool WaitStopped() { return WaitForSingleObject(ready_.Get(), 15000) == WAIT_OBJECT_0; }
  void Go() { SetEvent(go_.Get()); }

 private:
  KernelHandle ready_;
  KernelHandle go_;
};

struct Bar {
  std::string text;
  int low, high, pos;
};

Bar ReadProgress(HWND dialog) {
  HWND bar = GetDlgItem(dialog, 1000);
  // Each end on its own: a range record would have to live in the other process.
  int low = static_cast<int>(SendMessageA(bar, 0x0407 /* PBM_GETRANGE */, TRUE, 0));
  int high = static_cast<int>(SendMessageA(bar, 0x0407, FALSE, 0));
  return {gui::ControlText(dialog, 1001), low, high,
          static_cast<int>(SendMessageA(bar, 0x0408 /* PBM_GETPOS */, 0, 0))};
}
}  // namespace

TEST(Payload, ProgressDialogShowsEveryEntry) {
  Payload p;
  Stepper step;
  const std::vector<harness::ArchiveEntry> entries = {
      {"docs", "", true}, {"docs\\a.txt", std::string(100, 'a')}, {"b.bin", std::string(250, 'b')}, {"c.txt", ""}};
  p.Set("CABFILE", harness::MakeRarArchive(entries));
  p.Set("UNRARDLL", harness::ReadFileBytes(harness::BinDir() + "stepping_unrar.dll"));
  const std::string exe = p.dir + "setup.exe";
  harness::MakeInstaller(exe, p.script);
  Session run(exe);
  run.Expect("Welcome!").Press("OK");

  ASSERT_TRUE(step.WaitStopped()) << "the library was never opened";
  harness::Box dialog = run.Expect("Installing files");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ReadProgress(dialog.hwnd).text, "Starting setup. Please wait...");
  step.Go();
  int done = 0;
  for (const harness::ArchiveEntry& e : entries) {
    ASSERT_TRUE(step.WaitStopped()) << "no stop before " << e.name;
    done += static_cast<int>(e.data.size());
    Bar bar = ReadProgress(dialog.hwnd);
    EXPECT_EQ(bar.text, e.name);
    EXPECT_EQ(bar.low, 0);
    EXPECT_EQ(bar.high, 350);
    EXPECT_EQ(bar.pos, done) << e.name;
    step.Go();
  }
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
  EXPECT_FALSE(IsWindow(dialog.hwnd)) << "the progress dialog is gone after the step";
}

// A fault in the middle of the extraction (an access violation, or the
// exception our library raises when it runs out of memory) ends the run with
// "Installation failed." only after the step's clean-up: the progress
// dialog is gone and the staged files are deleted.
class PayloadFault : public testing::TestWithParam<const char*> {};

TEST_P(PayloadFault, RunsTheCleanUpBeforeTheMessage) {
  Payload p;
  Stepper step;
  const std::string tmp = p.dir + "tmp\\";
  CreateDirectoryA(tmp.c_str(), nullptr);
  p.Set("CABFILE", harness::MakeRarArchive({{GetParam(), "x"}}));
  p.Set("UNRARDLL", harness::ReadFileBytes(harness::BinDir() + "stepping_unrar.dll"));
  const std::string exe = p.dir + "setup.exe";
  harness::MakeInstaller(exe, p.script);
  char old[MAX_PATH] = {};
  GetEnvironmentVariableA("TMP", old, sizeof old);
  SetEnvironmentVariableA("TMP", tmp.c_str());  // the installer inherits it
  Session run(exe);
  SetEnvironmentVariableA("TMP", old);
  run.Expect("Welcome!").Press("OK");
  ASSERT_TRUE(step.WaitStopped()) << "the library was never opened";
  harness::Box dialog = run.Expect("Installing files");
  step.Go();
  harness::Box failed = run.Expect("An error occured during installation.");
  EXPECT_EQ(failed.text, "Installation failed.");
  EXPECT_FALSE(IsWindow(dialog.hwnd)) << "the progress dialog stayed";
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA((tmp + "*.tmp").c_str(), &fd));
  EXPECT_FALSE(h) << "left behind: " << fd.cFileName;
  failed.Press("OK");
  run.ExpectEnd();
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

INSTANTIATE_TEST_SUITE_P(Payload, PayloadFault, testing::Values("zxfault.bin", "zxnomemory.bin"));

TEST(Payload, OptionIncludeFileFollowsTheInstalledSubProducts) {
  Payload p;
  p.Set("SUBPRODUCTNAME", "Payload Product;Extra Pack");
  harness::RunToCompletion(
      p.Installer({{"units\\prod.inc",
                    "{$DEFINE PAYLOADPRODUCT} // main\r\n// {$define ExtraPack}\r\n{$DEFINE Other}\r\n"
                    "{$I zx.inc}\r\n{$DEFINE After}\r\n"}}));
  EXPECT_EQ(harness::ReadFileBytes(p.installDir + "units\\prod.inc"),
            "  {$DEFINE PAYLOADPRODUCT}\r\n  {$DEFINE ExtraPack}\r\n//  {$DEFINE Other}\r\n{$I zx.inc}\r\n{$DEFINE "
            "After}\r\n");
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, "Software\\Corvane Company\\InstalledProducts\\Payload Product",
                                "FolderName"),
            p.installDir.substr(0, p.installDir.size() - 1));
}
