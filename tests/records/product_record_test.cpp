// The product record as the library writes and reads it, and the uninstall
// entry check, against Wine's registry.
#include "records/product_record.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/errors.h"
#include "tests/harness/harness.h"
#include "tests/records/registry_fixture.h"

namespace {

const char kProduct[] = "ZX Record Test Product";
const std::string kRecord = fixture::ProductRecordKey(kProduct);

class ProductRecord : public ::testing::Test {
 protected:
  void SetUp() override { harness::DeleteKey(HKEY_CURRENT_USER, kRecord); }
  std::optional<std::string> Value(const std::string& name) {
    return harness::ReadString(HKEY_CURRENT_USER, kRecord, name);
  }
  std::vector<std::string> RecordNames();
};

using Names = std::vector<std::string>;

// Value names in sorted order: the registry's enumeration order is its own.
Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> ProductRecord::RecordNames() {
  return Sorted(harness::ValueNames(HKEY_CURRENT_USER, kRecord));
}

}  // namespace

TEST_F(ProductRecord, WritesVersionFolderAndSubProducts) {
  WriteProductRecord(kProduct, "Std;Pro", "1.0a", "C:\\Prog\\X\\");
  EXPECT_EQ(Value("Version"), "1.0a");
  EXPECT_EQ(Value("FolderName"), "C:\\Prog\\X");
  EXPECT_EQ(Value("Std"), "");
  EXPECT_EQ(Value("Pro"), "");
  EXPECT_EQ(RecordNames(), (Names{"FolderName", "Pro", "Std", "Version"}));
  EXPECT_EQ(Value(""), std::nullopt) << "no default value without an empty sub-product";
}

TEST_F(ProductRecord, FolderNameLosesOneTrailingBackslash) {
  WriteProductRecord(kProduct, "", "1", "C:\\");
  EXPECT_EQ(Value("FolderName"), "C:");
  WriteProductRecord(kProduct, "", "1", "C:\\Prog\\X");
  EXPECT_EQ(Value("FolderName"), "C:\\Prog\\X");
  WriteProductRecord(kProduct, "", "1", "C:\\Prog\\\\");
  EXPECT_EQ(Value("FolderName"), "C:\\Prog\\");
  EXPECT_EQ(RecordNames(), (Names{"FolderName", "Version"}));
}

TEST_F(ProductRecord, EmptyPiecesOfTheSubProductList) {
  WriteProductRecord(kProduct, "Std;", "1", "C:\\P\\");
  EXPECT_EQ(RecordNames(), (Names{"FolderName", "Std", "Version"}));
  WriteProductRecord(kProduct, ";Std", "1", "C:\\P\\");
  EXPECT_EQ(Value(""), "") << "the key's default value";
}

TEST_F(ProductRecord, LaterInstallationWithFewerSubProductsKeepsTheOldOnes) {
  WriteProductRecord(kProduct, "Std;Pro", "1.0", "C:\\Old\\");
  WriteProductRecord(kProduct, "Std", "2.0", "C:\\New\\");
  EXPECT_EQ(Value("Version"), "2.0");
  EXPECT_EQ(Value("FolderName"), "C:\\New");
  EXPECT_EQ(Value("Pro"), "");
}

TEST_F(ProductRecord, EmptyProductNameWritesNothing) {
  const std::string dir = harness::TestDir();
  CreateDirectoryA((dir + "units").c_str(), nullptr);
  harness::WriteFileBytes(dir + "units\\prod.inc", "{$DEFINE A}");
  const Names before = harness::ValueNames(HKEY_CURRENT_USER, fixture::ProductRecordKey(""));
  WriteProductRecord("", "Std", "1.0", dir);
  EXPECT_EQ(harness::ValueNames(HKEY_CURRENT_USER, fixture::ProductRecordKey("")), before);
  EXPECT_EQ(harness::ReadFileBytes(dir + "units\\prod.inc"), "{$DEFINE A}");
}

TEST_F(ProductRecord, CheckWithoutRecordOrName) {
  std::string folder = "stale";
  EXPECT_EQ(CheckInstalledProduct(kProduct, "1.0", folder), ProductNotInstalled);
  EXPECT_EQ(folder, "");
  folder = "untouched";
  EXPECT_EQ(CheckInstalledProduct("", "1.0", folder), ProductNotInstalled);
  EXPECT_EQ(folder, "untouched");
}

TEST_F(ProductRecord, CheckComparesVersionsIgnoringAsciiCase) {
  WriteProductRecord(kProduct, "Std", "1.0a", "C:\\Prog\\X\\");
  std::string folder;
  EXPECT_EQ(CheckInstalledProduct(kProduct, "1.0A", folder), SameVersionInstalled);
  EXPECT_EQ(folder, "C:\\Prog\\X");
  EXPECT_EQ(CheckInstalledProduct(kProduct, "1.0", folder), OtherVersionInstalled);
  EXPECT_EQ(folder, "");
  EXPECT_EQ(CheckInstalledProduct(kProduct, "1.0a ", folder), OtherVersionInstalled);
}

TEST_F(ProductRecord, CheckReadsMissingValuesAsEmpty) {
  fixture::SetString(HKEY_CURRENT_USER, kRecord, "Std", "");
  std::string folder = "stale";
  EXPECT_EQ(CheckInstalledProduct(kProduct, "", folder), SameVersionInstalled);
  EXPECT_EQ(folder, "");
  fixture::SetString(HKEY_CURRENT_USER, kRecord, "FolderName", "C:\\Kept");
  EXPECT_EQ(CheckInstalledProduct(kProduct, "", folder), SameVersionInstalled);
  EXPECT_EQ(folder, "C:\\Kept");
  EXPECT_EQ(CheckInstalledProduct(kProduct, "1.0", folder), OtherVersionInstalled);
}

TEST_F(ProductRecord, CheckTakesExpandableStringsUnexpanded) {
  fixture::SetString(HKEY_CURRENT_USER, kRecord, "Version", "%OS%", REG_EXPAND_SZ);
  fixture::SetString(HKEY_CURRENT_USER, kRecord, "FolderName", "%WINDIR%\\X", REG_EXPAND_SZ);
  std::string folder;
  EXPECT_EQ(CheckInstalledProduct(kProduct, "%os%", folder), SameVersionInstalled);
  EXPECT_EQ(folder, "%WINDIR%\\X");
}

TEST_F(ProductRecord, CheckRefusesValuesOfOtherTypes) {
  fixture::SetDword(HKEY_CURRENT_USER, kRecord, "Version", 2);
  std::string folder;
  try {
    CheckInstalledProduct(kProduct, "2", folder);
    ADD_FAILURE() << "no error for a DWORD version";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Version'");
  }
  fixture::SetString(HKEY_CURRENT_USER, kRecord, "Version", "2");
  fixture::SetDword(HKEY_CURRENT_USER, kRecord, "FolderName", 0);
  try {
    CheckInstalledProduct(kProduct, "2", folder);
    ADD_FAILURE() << "no error for a DWORD folder";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'FolderName'");
  }
}

TEST(UninstallEntryCheck, PresentOnlyWhenTheEntryExists) {
  const char app[] = "ZX Record Test Entry";
  harness::DeleteKey(HKEY_LOCAL_MACHINE, fixture::UninstallEntryKey(app));
  EXPECT_FALSE(IsUninstallEntryPresent(app));
  fixture::SetString(HKEY_LOCAL_MACHINE, fixture::UninstallEntryKey(app), "DisplayName", app);
  EXPECT_TRUE(IsUninstallEntryPresent(app));
  EXPECT_FALSE(IsUninstallEntryPresent("ZX Record Test"));
  harness::DeleteKey(HKEY_LOCAL_MACHINE, fixture::UninstallEntryKey(app));
}
