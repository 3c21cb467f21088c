// mksetup as a vendor runs it: the installer it writes carries every key
// byte for byte; a mistake gives a message, a non-zero code and no file.
#include <windows.h>
#include <imagehlp.h>

#include "tests/harness/harness.h"

namespace {

const std::string kArchive = std::string("Rar!\x1a\x07\x00", 7) + "not really packed";
const std::string kLibrary = std::string("MZ\x90\0library bytes", 17);

struct Vendor {
  std::string dir = harness::TestDir();
  std::string script = dir + "product.script";
  std::string payload = dir + "payload.rar";
  std::string library = dir + "unrar.dll";
  std::string output = dir + "product_setup.exe";
  Vendor() {
    harness::WriteFileBytes(payload, kArchive);
    harness::WriteFileBytes(library, kLibrary);
  }
  DWORD Make(const std::string& scriptText, std::string* out, const std::string& payloadArg = "") {
    harness::WriteFileBytes(script, scriptText);
    return harness::RunTool(
        harness::BinDir() + "mksetup.exe",
        "--unrar " + harness::Quoted({library, script, payloadArg.empty() ? payload : payloadArg, output}), out);
  }
};

std::string RemoveSlash(const std::string& dir) { return dir.substr(0, dir.size() - 1); }

// mksetup's output without its progress lines.
std::string WithoutProgress(const std::string& out) {
  std::string kept;
  for (size_t at = 0; at < out.size();) {
    const size_t end = std::min(out.find('\n', at), out.size() - 1) + 1;
    if (out.compare(at, 16, "mksetup: packed ") != 0) kept += out.substr(at, end - at);
    at = end;
  }
  return kept;
}

// The bytes of resource `key` in `exe`, or nullopt.
std::optional<std::string> Resource(const std::string& exe, const char* key) {
  HMODULE m = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!m) return std::nullopt;
  std::optional<std::string> bytes;
  if (HRSRC r = FindResourceExA(m, RT_RCDATA, key, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL))) {
    HGLOBAL g = LoadResource(m, r);
    bytes = std::string(static_cast<const char*>(LockResource(g)), SizeofResource(m, r));
  }
  FreeLibrary(m);
  return bytes;
}

// Where the resource section's data starts in the file of `exe`.
DWORD ResourceDataOffset(const std::string& exe) {
  const std::string image = harness::ReadFileBytes(exe);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
    if (std::string(reinterpret_cast<const char*>(section->Name), 5) == ".rsrc") return section->PointerToRawData;
  return 1;
}

}  // namespace

TEST(Mksetup, WritesEveryKeyByteForByte) {
  Vendor v;
  std::string out;
  ASSERT_EQ(v.Make("APPNAME = Corvane Tabrel for Delphi 5\r\n"
                   "PROMPTINSTALLDIR = \"No\\r\\n\"\r\n"
                   "HELPFILES:\r\n  tabrel.cnt\r\n  tabrel.hlp=Corvane Tabrel Help\r\n"
                   "INSTALLDIR = C:\\Corvane\\Tab_D5\r\n",
                   &out),
            0u)
      << out;
  EXPECT_EQ(Resource(v.output, "APPNAME"), "Corvane Tabrel for Delphi 5");
  EXPECT_EQ(Resource(v.output, "PROMPTINSTALLDIR"), "No\r\n");
  EXPECT_EQ(Resource(v.output, "HELPFILES"), "tabrel.cnt\r\ntabrel.hlp=Corvane Tabrel Help\r\n");
  EXPECT_EQ(Resource(v.output, "INSTALLDIR"), "C:\\Corvane\\Tab_D5");
  EXPECT_EQ(Resource(v.output, "CABFILE"), kArchive);
  EXPECT_EQ(Resource(v.output, "UNRARDLL"), kLibrary);
  EXPECT_EQ(Resource(v.output, "VERSION"), std::nullopt);
  EXPECT_FALSE(harness::FileExists(v.output + ".partial"));
  // The resources start on a page of the file (Wine then maps them instead
  // of reading them at start-up), and the image's checksum still holds.
  EXPECT_EQ(ResourceDataOffset(v.output) % 4096, 0u);
  DWORD stored = 0, computed = 0;
  ASSERT_EQ(MapFileAndCheckSumA(v.output.c_str(), &stored, &computed), static_cast<DWORD>(CHECKSUM_SUCCESS));
  EXPECT_NE(stored, 0u);
  EXPECT_EQ(stored, computed);
}

TEST(Mksetup, MistakesLeaveNoInstaller) {
  Vendor v;
  std::string out;
  EXPECT_EQ(v.Make("APPNAME = x\nVERSON = 1\n", &out), 1u);
  EXPECT_NE(out.find("line 2: unknown key 'VERSON'"), std::string::npos) << out;
  EXPECT_EQ(v.Make("APPNAME = x\n", &out, v.dir + "no such folder"), 1u);
  EXPECT_NE(out.find("does not exist"), std::string::npos) << out;
  harness::WriteFileBytes(v.dir + "notes.txt", "not an archive");
  EXPECT_EQ(v.Make("APPNAME = x\n", &out, v.dir + "notes.txt"), 1u);
  EXPECT_NE(out.find("is not a RAR archive"), std::string::npos) << out;
  EXPECT_FALSE(harness::FileExists(v.output));
  EXPECT_FALSE(harness::FileExists(v.output + ".partial"));
}

TEST(Mksetup, RefusesAStubItCannotRead) {
  Vendor v;
  std::string stub = harness::ReadFileBytes(harness::BinDir() + "setup.exe");
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(stub.data());
  stub[dos->e_lfanew + 20] = 2;  // the optional header's size
  stub[dos->e_lfanew + 21] = 0;
  harness::WriteFileBytes(v.dir + "stub.exe", stub);
  harness::WriteFileBytes(v.script, "APPNAME = x\n");
  std::string out;
  EXPECT_EQ(harness::RunTool(harness::BinDir() + "mksetup.exe",
                             "--stub " + harness::Quoted({v.dir + "stub.exe"}) + " --unrar " +
                                 harness::Quoted({v.library, v.script, v.payload, v.output}),
                             &out),
            1u);
  EXPECT_NE(out.find("is not a Windows program mksetup can read"), std::string::npos) << out;
  EXPECT_FALSE(harness::FileExists(v.output));
}

TEST(Mksetup, AFailedRunKeepsTheEarlierInstaller) {
  Vendor v;
  std::string out;
  ASSERT_EQ(v.Make("APPNAME = first\n", &out), 0u) << out;
  EXPECT_EQ(v.Make("APPNAME = second\nBROKEN\n", &out), 1u);
  EXPECT_EQ(Resource(v.output, "APPNAME"), "first");
}

TEST(Mksetup, UnreadableScript) {
  Vendor v;
  std::string out;
  EXPECT_EQ(harness::RunTool(harness::BinDir() + "mksetup.exe",
                             harness::Quoted({v.dir + "missing.script", v.payload, v.output}), &out),
            1u);
  EXPECT_NE(out.find("cannot read the script file"), std::string::npos) << out;
  EXPECT_FALSE(harness::FileExists(v.output));
}

// Every packing of a folder installs the same files; mksetup names the sizes.
// The folder holds twins (one file in two folders): each file alone makes a
// solid archive then, the twin a copy of its first.
TEST(Mksetup, AFolderPayloadIsPackedAndInstalls) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "{$DEFINE X" + std::to_string(i % 7) + "}\r\n{$I zx.inc}\r\n";
  const struct {
    const char* option;
    bool shrinks, solid;
  } kPackings[] = {{"", true, true}, {"--store", false, false}, {"--compress", true, true}, {"--solid", true, true}};
  for (const auto& packing : kPackings) {
    SCOPED_TRACE(packing.option);
    const std::string installDir = harness::TestDir() + "Installed" + std::to_string(&packing - kPackings);
    Vendor v;
    const std::string product = v.dir + "product\\";
    CreateDirectoryA(product.c_str(), nullptr);
    CreateDirectoryA((product + "units").c_str(), nullptr);
    CreateDirectoryA((product + "empty folder").c_str(), nullptr);
    harness::WriteFileBytes(product + "uninstall.exe", "MZ placeholder");
    harness::WriteFileBytes(product + "units\\prod.inc", text);
    CreateDirectoryA((product + "twin").c_str(), nullptr);
    harness::WriteFileBytes(product + "twin\\prod.inc", text);
    std::string out;
    harness::WriteFileBytes(v.script, "APPNAME = Mksetup Folder Test\nINSTALLDIR = " + installDir +
                                          "\nPROMPTINSTALLDIR = No\nCHECKPREVVERSION = No\nCHECKDELPHI = No\n"
                                          "SUCCESSMESSAGE = Yes\n");
    ASSERT_EQ(harness::RunTool(harness::BinDir() + "mksetup.exe",
                               (*packing.option ? std::string(packing.option) + " " : std::string()) +
                                   harness::Quoted({v.script, RemoveSlash(product), v.output}),
                               &out),
              0u)
        << out;
    const std::string unpacked = std::to_string(2 * text.size() + 14);
    EXPECT_NE(out.find("files " + unpacked + " bytes unpacked, "), std::string::npos) << out;
    EXPECT_EQ(out.find(" " + unpacked + " bytes packed") == std::string::npos, packing.shrinks) << out;
    // The main header's archive flags (every field one byte here): 4 is solid.
    const std::string archive = Resource(v.output, "CABFILE").value_or("");
    ASSERT_GT(archive.size(), 16u);
    EXPECT_EQ((archive[15] & 4) != 0, packing.solid);
    harness::Session run(v.output);
    run.Expect("Welcome!").Press("OK");
    run.Answer("Setup", "Installation completed.", "OK");
    run.ExpectEnd();
    EXPECT_EQ(harness::ReadFileBytes(installDir + "\\uninstall.exe"), "MZ placeholder");
    EXPECT_EQ(harness::ReadFileBytes(installDir + "\\units\\prod.inc"), text);
    EXPECT_EQ(harness::ReadFileBytes(installDir + "\\twin\\prod.inc"), text);
    EXPECT_TRUE(harness::FolderExists(installDir + "\\empty folder"));
    harness::DeleteKey(HKEY_LOCAL_MACHINE,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mksetup Folder Test");
  }
}

// The uninstaller at the payload's root: added to a folder that has none
// (mksetup's own, or the one --uninstaller names); a ready archive without
// one is taken as it is, with a warning.
TEST(Mksetup, AddsTheUninstallerWhenThePayloadHasNone) {
  Vendor v;
  const std::string product = v.dir + "product";
  CreateDirectoryA(product.c_str(), nullptr);
  harness::WriteFileBytes(product + "\\readme.txt", "read me");
  const std::string own = v.dir + "own_uninstall.exe";
  harness::WriteFileBytes(own, "MZ the vendor's own");
  const std::string bare = v.dir + "bare.rar";
  harness::WriteFileBytes(bare, harness::MakeRarArchive({{"readme.txt", "read me"}}));
  const struct {
    std::string options;
    std::string payload;
    std::string uninstaller;  // what the installation gets; empty: none
    std::string warning;
  } cases[] = {
      {"", product, harness::ReadFileBytes(harness::BinDir() + "uninstall.exe"), ""},
      {"--uninstaller \"" + own + "\" ", product, "MZ the vendor's own", ""},
      {"", bare, "",
       "mksetup: warning: the payload " + bare +
           " has no uninstall.exe at its root: the installed product cannot be removed (give the payload as a "
           "folder to have one added)\r\n"},
  };
  const std::string installDir = v.dir + "Installed\\";
  harness::WriteFileBytes(v.script, "APPNAME = Mksetup Uninstaller Test\nINSTALLDIR = " + installDir +
                                        "\nPROMPTINSTALLDIR = No\nCHECKPREVVERSION = No\nCHECKDELPHI = No\n"
                                        "SUCCESSMESSAGE = Yes\n");
  for (const auto& c : cases) {
    std::string out;
    ASSERT_EQ(harness::RunTool(harness::BinDir() + "mksetup.exe",
                               c.options + "\"" + v.script + "\" \"" + c.payload + "\" \"" + v.output + "\"", &out),
              0u)
        << out;
    EXPECT_EQ(WithoutProgress(out.substr(0, out.find("mksetup: wrote"))), c.warning);
    DeleteFileA((installDir + "uninstall.exe").c_str());
    harness::RunToCompletion(v.output);
    EXPECT_EQ(harness::ReadFileBytes(installDir + "readme.txt"), "read me");
    EXPECT_EQ(harness::FileExists(installDir + "uninstall.exe"), !c.uninstaller.empty()) << c.payload;
    if (!c.uninstaller.empty()) {
      EXPECT_EQ(harness::ReadFileBytes(installDir + "uninstall.exe"), c.uninstaller);
    }
    harness::DeleteKey(HKEY_LOCAL_MACHINE,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mksetup Uninstaller Test\\Files");
    harness::DeleteKey(HKEY_LOCAL_MACHINE,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mksetup Uninstaller Test");
  }
}
