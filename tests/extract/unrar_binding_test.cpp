// The installer's binding to the RAR library: what it binds, what it hands
// the library, and what it does when the library or an export is missing.
#include "extract/unrar_binding.h"

#include <windows.h>

#include <cstring>

#include "support/errors.h"
#include "tests/harness/harness.h"

namespace {

// What fake_unrar.dll recorded (its layout, read through FakeLastCall).
struct FakeRecord {
  int calls;
  int operation;
  bool pathNull;
  bool nameNull;
  char path[300];
  char name[300];
  unsigned openMode;
  char arcName[300];
  bool cleared;
  bool arcNameNull;
};

class UnrarBindingTest : public ::testing::Test {
 protected:
  void TearDown() override { UnloadUnrarLibrary(); }
  static std::string Fake() { return harness::BinDir() + "fake_unrar.dll"; }
  static const FakeRecord& Last() {
    using Fn = const FakeRecord*(ZX_RAR_CALL*)();
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Unrar.module.Get(), "FakeLastCall")));
    return *fn();
  }
};

std::string ErrorOf(void (*call)()) {
  try {
    call();
  } catch (const InstallError& e) {
    return e.what();
  }
  return "(nothing raised)";
}

}  // namespace

TEST_F(UnrarBindingTest, MissingLibraryRaisesAndLeavesNothingBound) {
  EXPECT_EQ(ErrorOf([] { LoadUnrarLibrary("C:\\no such folder\\unrar.dll"); }), "Can't load UNRAR.DLL");
  EXPECT_EQ(Unrar.module.Get(), nullptr);
  EXPECT_EQ(ErrorOf([] { LoadUnrarLibrary(""); }), "Can't load UNRAR.DLL");
  EXPECT_EQ(Unrar.module.Get(), nullptr);
}

TEST_F(UnrarBindingTest, BindsEverySlotAndUnbindsOnce) {
  // Our own reference keeps the module loaded unless the binding frees it twice.
  HMODULE own = LoadLibraryA(Fake().c_str());
  ASSERT_TRUE(own);
  LoadUnrarLibrary(Fake());
  EXPECT_EQ(Unrar.module.Get(), own);
  EXPECT_TRUE(Unrar.OpenArchive && Unrar.CloseArchive && Unrar.ReadHeader && Unrar.ProcessFile &&
              Unrar.SetChangeVolProc && Unrar.SetProcessDataProc && Unrar.SetPassword);
  UnloadUnrarLibrary();
  EXPECT_EQ(Unrar.module.Get(), nullptr);
  EXPECT_TRUE(Unrar.OpenArchive);  // slots keep their values until the next binding
  UnloadUnrarLibrary();
  EXPECT_EQ(GetModuleHandleA("fake_unrar.dll"), own);
  FreeLibrary(own);
  EXPECT_EQ(GetModuleHandleA("fake_unrar.dll"), nullptr);
}

TEST_F(UnrarBindingTest, OpenRecordAndNullPointersForEmptyStrings) {
  LoadUnrarLibrary(Fake());
  RarArchiveHandle h = UnrarOpenArchive("C:\\pay load.rar");
  ASSERT_TRUE(h);
  EXPECT_EQ(Last().openMode, 1u);
  EXPECT_STREQ(Last().arcName, "C:\\pay load.rar");
  EXPECT_TRUE(Last().cleared);
  EXPECT_FALSE(Last().arcNameNull);
  UnrarOpenArchive("");  // the archive name is always a string, even an empty one
  EXPECT_FALSE(Last().arcNameNull);

  EXPECT_EQ(UnrarProcessFile(h, RAR_EXTRACT, "", ""), 7);  // the library's code, unchanged
  EXPECT_EQ(Last().operation, RAR_EXTRACT);
  EXPECT_TRUE(Last().pathNull);
  EXPECT_TRUE(Last().nameNull);

  UnrarProcessFile(h, RAR_SKIP, "C:\\dest\\", "");
  EXPECT_EQ(Last().operation, RAR_SKIP);
  EXPECT_STREQ(Last().path, "C:\\dest\\");
  EXPECT_TRUE(Last().nameNull);

  UnrarProcessFile(h, 200, "", "C:\\dest\\one.txt");
  EXPECT_EQ(Last().operation, 200);  // one byte widened, never sign-extended
  EXPECT_TRUE(Last().pathNull);
  EXPECT_STREQ(Last().name, "C:\\dest\\one.txt");
  UnrarCloseArchive(h);
}

TEST_F(UnrarBindingTest, FullWidthNameWithoutNulArrivesWhole) {
  LoadUnrarLibrary(Fake());
  RARHeaderData header = {};
  ASSERT_EQ(UnrarReadHeader(nullptr, &header), 0);
  EXPECT_EQ(std::string(header.FileName, strnlen(header.FileName, sizeof header.FileName)), std::string(260, 'n'));
  EXPECT_EQ(header.Flags, 0x5A5Au);
  EXPECT_EQ(header.UnpSize, 42u);
}

TEST_F(UnrarBindingTest, MissingExportRaisesNamingIt) {
  LoadUnrarLibrary(harness::BinDir() + "fake_unrar_partial.dll");
  EXPECT_EQ(Unrar.ReadHeader, nullptr);
  RarArchiveHandle h = UnrarOpenArchive("C:\\x.rar");
  EXPECT_TRUE(h);
  EXPECT_NE(ErrorOf([] {
              RARHeaderData header;
              UnrarReadHeader(nullptr, &header);
            }).find("RARReadHeader"),
            std::string::npos);
  EXPECT_NE(ErrorOf([] { UnrarProcessFile(nullptr, RAR_SKIP, "", ""); }).find("RARProcessFile"), std::string::npos);
  UnrarCloseArchive(h);
}

// Nothing bound: the first archive call binds "unrar.dll" by its bare name,
// which the system finds beside this program.
TEST_F(UnrarBindingTest, ArchiveCallBindsTheBareName) {
  ASSERT_EQ(Unrar.module.Get(), nullptr);
  EXPECT_EQ(UnrarOpenArchive("C:\\no such archive.rar"), nullptr);
  ASSERT_TRUE(Unrar.module);
  char path[MAX_PATH];
  GetModuleFileNameA(Unrar.module.Get(), path, MAX_PATH);
  EXPECT_EQ(lstrcmpiA(path, (harness::BinDir() + "unrar.dll").c_str()), 0) << path;
}

// Run by the next test from a copy of this program in a folder without the library.
TEST_F(UnrarBindingTest, DISABLED_BareNameMissing) {
  EXPECT_EQ(ErrorOf([] { UnrarOpenArchive("C:\\x.rar"); }), "Can't load UNRAR.DLL");
  EXPECT_EQ(Unrar.module.Get(), nullptr);
  EXPECT_EQ(ErrorOf([] { UnrarCloseArchive(nullptr); }), "Can't load UNRAR.DLL");
}

TEST_F(UnrarBindingTest, BareNameNotFoundRaises) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string copy = harness::TestDir() + "binding_copy.exe";
  ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
  std::string output;
  EXPECT_EQ(
      harness::RunTool(copy, "--gtest_also_run_disabled_tests --gtest_filter=UnrarBindingTest.DISABLED_BareNameMissing",
                       &output),
      0u)
      << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}
