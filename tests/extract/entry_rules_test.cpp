// Where archive entries may go.
#include "extract/entry_rules.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(SafeArchivePath(".."), "");
  EXPECT_EQ(SafeArchivePath(""), "");
}

// Names Windows treats specially refuse the whole entry: never a device,
// a stream, or a file whose name Windows silently changes.
TEST(SafeArchivePath, NamesWindowsTreatsSpeciallyAreRefused) {
  for (const char* path :
       {"CON", "con.txt", "a\\NUL", "nul .txt", "Aux.dat\\x", "prn", "COM1", "com9.log", "LPT1", "lpt5.txt\\y",
        "conout$", "CONIN$.x", "a.txt:s", "a\\b:stream", "dir\\x.txt::$DATA", "name.", "name ", "dir.\\x", "dir \\x"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(SafeArchivePath(path), "");
  }
  for (const char* path : {"CONSOLE", "con_txt", "nul1", "COM0", "COM10", "LPT", "LPTX.txt", "auxiliary.dat", "a.b.c",
                           ".hidden", "x\\..\\y"}) {
    SCOPED_TRACE(path);
    EXPECT_NE(SafeArchivePath(path), "");
  }
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
