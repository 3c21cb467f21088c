// Where archive entries may go.
#include <gtest/gtest.h>

#include "extract/entry_rules.h"
#include "support/string_list.h"

TEST(SafeArchivePath, OrdinaryPathsUnchanged) {
  EXPECT_EQ(SafeArchivePath("uninstall.exe"), "uninstall.exe");
  EXPECT_EQ(SafeArchivePath("units\\prod.inc"), "units\\prod.inc");
  EXPECT_EQ(SafeArchivePath("a b\\c.d e"), "a b\\c.d e");
  EXPECT_EQ(SafeArchivePath("name..with..dots"), "name..with..dots");
}

TEST(SafeArchivePath, NothingLeavesTheFolder) {
  EXPECT_EQ(SafeArchivePath("..\\..\\x"), "x");
  EXPECT_EQ(SafeArchivePath("\\x"), "x");
  EXPECT_EQ(SafeArchivePath("C:\\x"), "x");
  EXPECT_EQ(SafeArchivePath("C:x"), "x");
  EXPECT_EQ(SafeArchivePath("a\\..\\..\\x"), "a\\x");
  EXPECT_EQ(SafeArchivePath("\\\\server\\share\\x"), "server\\share\\x");
  EXPECT_EQ(SafeArchivePath("a/../b/./c"), "a\\b\\c");
  EXPECT_EQ(SafeArchivePath("a\\b:stream"), "a");
  EXPECT_EQ(SafeArchivePath(".."), "");
  EXPECT_EQ(SafeArchivePath(""), "");
}

TEST(HelpFiles, ByNameBeforeEqualsOrWholeLine) {
  StringList help;
  help.SetText("tabrel.cnt\r\ntabrel.hlp=Corvane Tabrel Help\r\n=orphan title\r\n");
  EXPECT_TRUE(IsHelpFile(help, "tabrel.cnt"));
  EXPECT_TRUE(IsHelpFile(help, "TABREL.HLP"));
  EXPECT_FALSE(IsHelpFile(help, "Corvane Tabrel Help"));
  EXPECT_FALSE(IsHelpFile(help, "tabrel"));
  EXPECT_FALSE(IsHelpFile(StringList(), "tabrel.cnt"));
}
