// The option include file rewritten on disk from a real product record.
#include "ide/product_options.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "records/product_record.h"
#include "support/errors.h"
#include "support/handles.h"
#include "support/string_list.h"
#include "tests/harness/harness.h"
#include "tests/records/registry_fixture.h"

namespace {

const char kProduct[] = "ZX Options Test Product";

// What the product record does: the option include file from the record's options.
void UpdateFromRecord(const std::string& installDir) {
  StringList installed;
  GetInstalledOptions(kProduct, installed);
  UpdateProductOptions(installed, installDir);
}

class ProductOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    harness::DeleteKey(HKEY_CURRENT_USER, fixture::ProductRecordKey(kProduct));
    dir_ = harness::TestDir();
    CreateDirectoryA((dir_ + "units").c_str(), nullptr);
    file_ = dir_ + "units\\prod.inc";
  }
  std::string dir_;
  std::string file_;
};

const char kFile[] =
    "{ Options of the product }\n"
    "{$DEFINE CORVANETABREL}\n"
    "// {$define CorvaneExtraPack}\r\n"
    "{$DEFINE CORVANEOTHER} // not installed\r"
    "{$I zx.inc}\r\n"
    "{$DEFINE CORVANEOTHER}";

}  // namespace

TEST_F(ProductOptions, RecordWritingRewritesTheFile) {
  harness::WriteFileBytes(file_, kFile);
  // The folder as the destination step leaves it, with a trailing backslash.
  WriteProductRecord(kProduct, "Corvane Tabrel;Corvane Extra Pack", "1.0", dir_);
  EXPECT_EQ(harness::ReadFileBytes(file_),
            "{ Options of the product }\r\n"
            "  {$DEFINE CORVANETABREL}\r\n"
            "  {$DEFINE CorvaneExtraPack}\r\n"
            "//  {$DEFINE CORVANEOTHER}\r\n"
            "{$I zx.inc}\r\n"
            "{$DEFINE CORVANEOTHER}\r\n");
}

TEST_F(ProductOptions, EarlierSubProductsStayInstalled) {
  harness::WriteFileBytes(file_, "{$DEFINE Std}\r\n{$DEFINE Pro}\r\n{$DEFINE Ent}\r\n");
  WriteProductRecord(kProduct, "Pro", "1.0", dir_);
  WriteProductRecord(kProduct, "Std", "1.0", dir_);
  EXPECT_EQ(harness::ReadFileBytes(file_), "  {$DEFINE Std}\r\n  {$DEFINE Pro}\r\n//  {$DEFINE Ent}\r\n");
}

TEST_F(ProductOptions, FolderWithoutTrailingBackslash) {
  harness::WriteFileBytes(file_, "{$DEFINE Std}");
  fixture::SetString(HKEY_CURRENT_USER, fixture::ProductRecordKey(kProduct), "Std", "");
  UpdateFromRecord(dir_.substr(0, dir_.size() - 1));
  EXPECT_EQ(harness::ReadFileBytes(file_), "  {$DEFINE Std}\r\n");
}

TEST_F(ProductOptions, WithoutRecordEveryDefineIsCommentedOut) {
  harness::WriteFileBytes(file_, "  {$DEFINE Std}\r\n{$IFDEF Std}\r\n");
  UpdateFromRecord(dir_);
  EXPECT_EQ(harness::ReadFileBytes(file_), "//  {$DEFINE Std}\r\n{$IFDEF Std}\r\n");
}

TEST_F(ProductOptions, VersionAndFolderNameAreNoOptions) {
  harness::WriteFileBytes(file_, "{$DEFINE Version}\r\n{$DEFINE FolderName}\r\n{$DEFINE }\r\n");
  WriteProductRecord(kProduct, ";", "1.0", dir_);
  EXPECT_EQ(harness::ReadFileBytes(file_), "//  {$DEFINE Version}\r\n//  {$DEFINE FolderName}\r\n  {$DEFINE }\r\n");
}

TEST_F(ProductOptions, InstalledOptionsAreTheOtherValueNames) {
  WriteProductRecord(kProduct, "Std;Pro Plus", "1.0", "");
  StringList options;
  options.Add("stale");
  GetInstalledOptions(kProduct, options);
  std::vector<std::string> names = options.Items();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Pro Plus", "Std"}));
  GetInstalledOptions("ZX Options Test No Such Product", options);
  EXPECT_TRUE(options.Empty());
}

TEST_F(ProductOptions, NothingWithoutFileOrFolder) {
  EXPECT_NO_THROW(UpdateFromRecord(dir_));
  EXPECT_FALSE(harness::FileExists(file_));
  EXPECT_NO_THROW(UpdateFromRecord(""));
  CreateDirectoryA(file_.c_str(), nullptr);  // a folder of that name is no file
  EXPECT_NO_THROW(UpdateFromRecord(dir_));
}

TEST_F(ProductOptions, FileThatCannotBeOpenedOrReplaced) {
  harness::WriteFileBytes(file_, "{$DEFINE Std}\r\n");
  {
    // Another program holds the file for writing: it cannot be read.
    FileHandle writer(CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    try {
      UpdateFromRecord(dir_);
      ADD_FAILURE() << "no error for a locked file";
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + file_);
    }
  }
  {
    // Another program reads it and lets others read: it cannot be replaced.
    FileHandle reader(CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    try {
      UpdateFromRecord(dir_);
      ADD_FAILURE() << "no error for a file open for reading";
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + file_);
    }
  }
  EXPECT_EQ(harness::ReadFileBytes(file_), "{$DEFINE Std}\r\n");
}
