// The uninstaller as a user meets it: started by the entry's command after a
// real installation, it asks, removes and tells what it could not remove.
#include <algorithm>
#include <functional>

#include "support/command_line.h"
#include "support/registry.h"
#include "tests/harness/harness.h"
#include "tests/ide/fake_ide.h"
#include "tests/uninstall/machine_snapshot.h"
#include "uninstall/removal_rules.h"

using harness::Session;
using harness::SystemDir;

namespace {

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kCounts[] = "Software\\Corvane Company\\InstalledFiles";
const char kProducts[] = "Software\\Corvane Company\\InstalledProducts\\";
const char kKnownPackages[] = "Software\\Borland\\Delphi\\5.0\\Known Packages";
const char kIdeRoot[] = "C:\\zxuninst\\Delphi5";

std::string EntryKey(const std::string& app) { return kUninstallRoot + app; }

bool WriteString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
  RegKey key;
  return CreateRegistryKey(root, path, key) && WriteRegistryString(key.Get(), name, value);
}

// One product's installer: its script and its files (the uninstaller is
// added at the payload's root, as mksetup adds it).
struct Product {
  std::string app;
  std::string installDir;
  ScriptValues values;
  std::vector<harness::ArchiveEntry> files;

  Product(const std::string& appName, const std::string& productName, const std::string& subProducts,
          const std::string& dir)
      : app(appName), installDir(dir) {
    values = {{"APPNAME", app},       {"PRODUCTNAME", productName}, {"SUBPRODUCTNAME", subProducts},
              {"VERSION", "1.0"},     {"INTERNALVERSION", "1.0"},   {"INSTALLDIR", installDir},
              {"DELPHIVER", "D5"},    {"PROMPTINSTALLDIR", "No"},   {"CHECKPREVVERSION", "No"},
              {"CHECKDELPHI", "Yes"}, {"SUCCESSMESSAGE", "Yes"}};
  }
  Product& Set(const std::string& key, const std::string& value) {
    harness::SetScriptValue(values, key, value);
    return *this;
  }
  Product& File(const std::string& name, const std::string& data) {
    files.push_back({name, data});
    return *this;
  }
  void Install() const {
    std::vector<harness::ArchiveEntry> entries = files;
    entries.push_back({"uninstall.exe", harness::ReadFileBytes(harness::BinDir() + "uninstall.exe")});
    ScriptValues all = values;
    all.emplace_back("CABFILE", harness::MakeRarArchive(entries));
    const std::string exe = harness::TestDir() + "setup_" + std::to_string(std::hash<std::string>()(app)) + ".exe";
    harness::MakeInstaller(exe, all);
    harness::RunToCompletion(exe);
    ASSERT_TRUE(harness::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(app))) << app << " was not installed";
  }
};

// The demo's shape: a package for the system folder registered with the IDE,
// help for the IDE's help folder, an option include file, a shortcut.
Product DemoLike(const std::string& app, const std::string& dir) {
  Product p(app, "ZX Uninst Demo", "ZX Uninst Demo", dir);
  p.Set("SYSFILES", "zxuninst_d5.bpl\r\n")
      .Set("PACKAGES", "zxuninst_d5.bpl=ZX Uninst Demo\r\n")
      .Set("HELPFILES", "zxuninst.cnt\r\nzxuninst.hlp=ZX Uninst Help\r\n")
      .Set("PROGLINKS", "ZX Uninst Read Me=readme.txt\r\n")
      .File("readme.txt", "read me")
      .File("zxuninst_d5.bpl", "MZ package")
      .File("zxuninst.hlp", "help")
      .File("zxuninst.cnt", ":Base zxuninst.hlp\r\n")
      .File("units\\prod.inc", "{$DEFINE ZXUninstDemo}\r\n{$I zx.inc}\r\n")
      .File("units\\zx.inc", "// shared\r\n")
      .File("source\\zxuninst.pas", "unit zxuninst;");
  return p;
}

// The program and the arguments of the entry's command, as the list of
// installed programs starts it.
struct Command {
  std::string program;
  std::string arguments;
};
Command EntryCommand(const std::string& app) {
  const std::string line = harness::ReadString(HKEY_LOCAL_MACHINE, EntryKey(app), "UninstallString").value_or("");
  const std::string program = SplitCommandLine(line).front();
  const std::string head = QuoteArgument(program) + " ";
  EXPECT_EQ(line.compare(0, head.size(), head), 0) << line;
  return {program, line.size() > head.size() ? line.substr(head.size()) : ""};
}

// Runs the entry's command, answers OK to the confirmation, and expects the
// closing message `closing`.
void Uninstall(const std::string& app, const std::string& closing) {
  const Command command = EntryCommand(app);
  Session run(command.program, "", command.arguments);
  run.FollowHandOver();
  harness::Box confirm = run.Expect("Uninstall");
  EXPECT_EQ(confirm.text, ConfirmRemovalMessage(app));
  EXPECT_EQ(confirm.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  confirm.Press("OK");
  run.Answer("Uninstall", closing, "OK");
  run.ExpectEnd();
}

void ExpectRemoved(const std::string& app) {
  Uninstall(app, app + " was removed.");
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(app)));
}

}  // namespace

// The names the temporary copy of the uninstaller is marked for deletion
// with (REG_MULTI_SZ), as one text.
std::string PendingDeletions() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return "";
  char data[65536] = {};
  DWORD size = sizeof data - 2;
  RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  std::string text(data, size);
  for (char& c : text)
    if (c == '\0') c = '|';
  return text;
}

TEST(Uninstall, InstallThenUninstallGivesTheMachineBack) {
  fakeide::Edition ide("D5", kIdeRoot);
  const std::string contents = std::string(kIdeRoot) + "\\HELP\\delphi5.cnt";
  const std::string idePackage = std::string(kIdeRoot) + "\\Bin\\dclusr50.bpl";
  ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kKnownPackages, idePackage, "Borland User Components"));
  const std::string contentsBefore = harness::ReadFileBytes(contents);
  // Another product's count, which stays (and keeps the table's key whatever
  // earlier tests left in it).
  const std::string otherFile = "C:\\zxother\\other.dll";
  RegKey counts;
  ASSERT_TRUE(CreateRegistryKey(HKEY_CURRENT_USER, kCounts, counts) && WriteRegistryDword(counts.Get(), otherFile, 1));
  const Product product = DemoLike("ZX Uninst Whole", "C:\\ZX Uninst Whole\\Product\\");
  const snapshot::Lines registryBefore = snapshot::TakeRegistry();
  const snapshot::Lines filesBefore = snapshot::TakeFiles();

  product.Install();
  const std::string package = SystemDir() + "zxuninst_d5.bpl";
  ASSERT_TRUE(harness::FileExists(package));
  EXPECT_EQ(harness::ReadDword(HKEY_CURRENT_USER, kCounts, package), 1u);
  EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, kKnownPackages, package), "ZX Uninst Demo");
  EXPECT_EQ(harness::ReadString(HKEY_LOCAL_MACHINE, EntryKey(product.app), "INSTALLEDHELPS"), "zxuninst.hlp\r\n");
  EXPECT_NE(harness::ReadFileBytes(contents).find(":Index ZX Uninst Help =zxuninst.hlp\r\n"), std::string::npos);

  ExpectRemoved(product.app);
  // The IDE's own help lines and packages are as they were, byte for byte.
  EXPECT_EQ(harness::ReadFileBytes(contents), contentsBefore);
  EXPECT_EQ(harness::ValueNames(HKEY_CURRENT_USER, kKnownPackages), std::vector<std::string>{idePackage});
  // Wine keeps desktop settings under its own key as programs start; the
  // test's own folder holds the installer. The IDE's design-time source the
  // installer copies into the IDE's Lib folder is the IDE's own (not recorded,
  // other products build against it): it stays.
  const std::vector<std::string> noise = {"HKCU\\Software\\Wine\\", "C:\\zxtests\\",
                                          std::string(kIdeRoot) + "\\Lib\\dsgnintf.pas"};
  EXPECT_EQ(snapshot::Differences(registryBefore, snapshot::TakeRegistry(), noise), std::vector<std::string>{})
      << "registry";
  EXPECT_EQ(snapshot::Differences(filesBefore, snapshot::TakeFiles(), noise), std::vector<std::string>{}) << "files";
  // The temporary copy of the uninstaller goes at the next restart.
  EXPECT_NE(PendingDeletions().find("zxu"), std::string::npos) << PendingDeletions();
  harness::DeleteKey(HKEY_CURRENT_USER, kKnownPackages);
  DeleteRegistryValue(counts.Get(), otherFile);
}

TEST(Uninstall, SharedFileStaysUntilItsLastProductGoes) {
  const std::string shared = SystemDir() + "zxuninst_shared.bpl";
  const std::string parent = "C:\\ZX Uninst Shared";
  Product first("ZX Uninst Shared A", "ZX Uninst Shared A", "A", parent + "\\A\\");
  Product second("ZX Uninst Shared B", "ZX Uninst Shared B", "B", parent + "\\B\\");
  for (Product* p : {&first, &second}) p->Set("SYSFILES", "zxuninst_shared.bpl\r\n").File("zxuninst_shared.bpl", "MZ");
  first.Install();
  second.Install();
  ASSERT_EQ(harness::ReadDword(HKEY_CURRENT_USER, kCounts, shared), 2u);

  // The first product made the common parent, which now holds the second.
  Uninstall(first.app, ClosingMessage(first.app, {{}, {parent}}));
  EXPECT_FALSE(harness::KeyExists(HKEY_LOCAL_MACHINE, EntryKey(first.app)));
  EXPECT_TRUE(harness::FileExists(shared));
  EXPECT_EQ(harness::ReadDword(HKEY_CURRENT_USER, kCounts, shared), 1u);
  EXPECT_FALSE(harness::FolderExists(first.installDir));
  EXPECT_TRUE(harness::FileExists(second.installDir + "uninstall.exe"));

  ExpectRemoved(second.app);
  EXPECT_FALSE(harness::FileExists(shared));
  EXPECT_EQ(harness::ReadDword(HKEY_CURRENT_USER, kCounts, shared), std::nullopt);
  EXPECT_FALSE(harness::FolderExists(second.installDir));
  // Neither entry names the parent any more: it stays, empty.
  EXPECT_TRUE(RemoveDirectoryA(parent.c_str()));
}

TEST(Uninstall, FileInUseStaysRecordedAndASecondRunRemovesIt) {
  const std::string top = "C:\\ZX Uninst Locked";
  const std::string dir = top + "\\Product\\";
  Product product("ZX Uninst Locked", "ZX Uninst Locked", "L", dir);
  product.File("units\\zx.inc", "// in use").File("readme.txt", "read me");
  product.Install();
  const std::string locked = dir + "units\\zx.inc";
  HANDLE open = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);

  Uninstall(product.app, ClosingMessage(product.app, {{locked}, {dir + "units", dir.substr(0, dir.size() - 1), top}}));
  CloseHandle(open);
  EXPECT_TRUE(harness::FileExists(locked));
  EXPECT_FALSE(harness::FileExists(dir + "readme.txt"));
  // The uninstaller stays with the entry for the second run.
  std::vector<std::string> recorded = harness::ValueNames(HKEY_LOCAL_MACHINE, EntryKey(product.app) + "\\Files");
  std::sort(recorded.begin(), recorded.end());
  EXPECT_EQ(recorded, (std::vector<std::string>{dir + "uninstall.exe", locked}));
  EXPECT_EQ(harness::ReadDword(HKEY_CURRENT_USER, kCounts, locked), 1u);
  EXPECT_FALSE(harness::KeyExists(HKEY_CURRENT_USER, kProducts + std::string("ZX Uninst Locked")));

  ExpectRemoved(product.app);
  EXPECT_FALSE(harness::FileExists(locked));
  EXPECT_EQ(harness::ReadDword(HKEY_CURRENT_USER, kCounts, locked), std::nullopt);
  EXPECT_FALSE(harness::FolderExists(top));
}

TEST(Uninstall, RemovingOneSubProductKeepsTheOtherAndItsOptions) {
  const std::string dir = "C:\\ZX Uninst Options\\";
  const std::string prodInc = "{$DEFINE OptA}\r\n{$DEFINE OptB}\r\n{$I zx.inc}\r\n";
  Product a("ZX Uninst Option A", "ZX Uninst Options", "Opt A", dir);
  Product b("ZX Uninst Option B", "ZX Uninst Options", "Opt B", dir);
  for (Product* p : {&a, &b}) p->File("units\\prod.inc", prodInc);
  a.Install();
  b.Install();
  EXPECT_EQ(harness::ReadFileBytes(dir + "units\\prod.inc"), "  {$DEFINE OptA}\r\n  {$DEFINE OptB}\r\n{$I zx.inc}\r\n");

  ExpectRemoved(b.app);
  const std::string record = kProducts + std::string("ZX Uninst Options");
  std::vector<std::string> values = harness::ValueNames(HKEY_CURRENT_USER, record);
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::string>{"FolderName", "Opt A", "Version"}));
  EXPECT_EQ(harness::ReadFileBytes(dir + "units\\prod.inc"),
            "  {$DEFINE OptA}\r\n//  {$DEFINE OptB}\r\n{$I zx.inc}\r\n");

  ExpectRemoved(a.app);
  EXPECT_FALSE(harness::KeyExists(HKEY_CURRENT_USER, record));
  EXPECT_FALSE(harness::FolderExists(dir));
}

TEST(Uninstall, CancelOrARunningIdeRemovesNothing) {
  Product product("ZX Uninst Kept", "ZX Uninst Kept", "K", "C:\\ZX Uninst Kept\\");
  product.Install();
  const Command command = EntryCommand(product.app);
  {
    Session run(command.program, "", command.arguments);
    run.FollowHandOver();
    run.Expect("Uninstall").Press("Cancel");
    run.ExpectEnd();
  }
  {
    fakeide::RunningIde ide(fakeide::kAllIdeWindows);
    Session run(command.program, "", command.arguments);
    run.FollowHandOver();
    run.Expect("Uninstall").Press("OK");
    harness::Box warning = run.Expect("Installation Warning");
    EXPECT_NE(warning.text.find("shut down these applications before you can install ZX Uninst Kept."),
              std::string::npos)
        << warning.text;
    warning.Press("Cancel");
    run.ExpectEnd();
  }
  EXPECT_TRUE(harness::FileExists(product.installDir + "uninstall.exe"));
  EXPECT_TRUE(harness::KeyExists(HKEY_CURRENT_USER, kProducts + std::string("ZX Uninst Kept")));
  ExpectRemoved(product.app);
}

TEST(Uninstall, RefusesWithoutAnInstallationToRemove) {
  const struct {
    const char* arguments;
    const char* text;
  } cases[] = {
      {"",
       "The uninstaller needs the name of the product to remove. Start it from the list of installed "
       "programs (Add/Remove Programs)."},
      {"\"ZX Uninst Never Installed\"",
       "ZX Uninst Never Installed is not installed: there is no record of its installation to remove."},
  };
  for (const auto& c : cases) {
    Session run(harness::BinDir() + "uninstall.exe", "", c.arguments);
    harness::Box box = run.Expect("Uninstall");
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    box.Press("OK");
    run.ExpectEnd();
  }
}

// Whether the uninstall entry of `app` is in the registry's 32-bit view
// (Wow6432Node) or its 64-bit view, as the other build sees it too.
bool EntryInView(const std::string& app, REGSAM view) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryKey(app).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The demo product as a vendor packs it and a user installs it: the welcome,
// the destination dialog, the package compiled with the IDE's compiler and
// registered, the help indexed; then removed through its entry. Built as
// i686 code, the installer writes the 32-bit view, as on 64-bit Windows.
TEST(Uninstall, TheDemoProductInstallsAndGoesThroughItsEntry) {
  fakeide::Edition ide("D5", kIdeRoot);
  const std::string app = "Corvane Tabrel for Delphi 5";
  const std::string exe = harness::TestDir() + "tabrel_d5_setup.exe";
  std::string out;
  ASSERT_EQ(harness::RunTool(harness::BinDir() + "mksetup.exe",
                             harness::Quoted({ZX_DEMO_DIR "\\tabrel_d5.script", ZX_DEMO_DIR "\\payload", exe}), &out),
            0u)
      << out;
  Session run(exe);
  run.Answer("Welcome!",
             "This program will install 'Corvane Tabrel for Delphi 5 Version 2.21' onto your computer. \r\n"
             "Press the OK button to start the installation.\r\n"
             "You can press the Cancel button if you do not want to install this software.",
             "OK");
  harness::Box destination = run.Expect("Select Destination Directory");
  EXPECT_EQ(gui::ControlText(destination.hwnd, 1000), "C:\\Corvane\\Tab_D5");
  destination.Press("OK");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();

  const std::string installDir = "C:\\Corvane\\Tab_D5\\";
  for (const char* file : {"readme.txt", "zxctd5.dpk", "units\\prod.inc", "uninstall.exe"})
    EXPECT_TRUE(harness::FileExists(installDir + file)) << file;
  const std::string built = SystemDir() + "zxctd5.bpl";
  EXPECT_NE(harness::ReadFileBytes(ide.Root() + "tools.log").find("dcc32.exe"), std::string::npos);
  for (const std::string& package : {built, SystemDir() + "zxtabrel_d5.bpl"}) {
    EXPECT_TRUE(harness::FileExists(package)) << package;
    EXPECT_EQ(harness::ReadString(HKEY_CURRENT_USER, kKnownPackages, package), "Corvane Tabrel") << package;
  }
  EXPECT_NE(harness::ReadFileBytes(ide.Root() + "HELP\\delphi5.cnt").find(":Index Corvane Tabrel Help =tabrel.hlp"),
            std::string::npos);
  const bool i686 = sizeof(void*) == 4;
  EXPECT_EQ(EntryInView(app, KEY_WOW64_32KEY), i686);
  EXPECT_EQ(EntryInView(app, KEY_WOW64_64KEY), !i686);

  ExpectRemoved(app);
  EXPECT_FALSE(harness::FolderExists(installDir));
  EXPECT_FALSE(harness::FileExists(built));
  EXPECT_FALSE(harness::ReadString(HKEY_CURRENT_USER, kKnownPackages, built));
  EXPECT_EQ(harness::ReadFileBytes(ide.Root() + "HELP\\delphi5.cnt").find("tabrel.hlp"), std::string::npos);
}
