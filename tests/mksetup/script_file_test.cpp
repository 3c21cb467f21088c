// The vendor's script-file format: exact bytes for every kind of key.
#include "mksetup/script_file.h"

#include <gtest/gtest.h>

namespace {
ScriptFile Parse(const std::string& text) {
  ScriptFile f;
  std::string error;
  EXPECT_TRUE(ParseScriptFile(text, f, error)) << error;
  return f;
}

std::string ErrorOf(const std::string& text) {
  ScriptFile f;
  std::string error;
  EXPECT_FALSE(ParseScriptFile(text, f, error));
  return error;
}
}  // namespace

TEST(ScriptFile, TextValuesHaveNoLineBreak) {
  ScriptFile f = Parse("# demo\r\nAPPNAME = Corvane Tabrel for Delphi 5\r\nVERSION=2.21\nSUCCESSMESSAGE = Yes");
  ASSERT_EQ(f.entries.size(), 3u);
  EXPECT_EQ(f.entries[0].key, "APPNAME");
  EXPECT_EQ(f.entries[0].value, "Corvane Tabrel for Delphi 5");
  EXPECT_EQ(f.entries[1].value, "2.21");
  EXPECT_EQ(f.entries[2].value, "Yes");
  EXPECT_EQ(Parse("VERSION = 1.0  \n").entries[0].value, "1.0  ");  // trailing blanks are bytes too
  EXPECT_EQ(Parse("INSTALLDIR =\n").entries[0].value, "");
}

TEST(ScriptFile, QuotedValuesCarryAnyByte) {
  ScriptFile f = Parse("PROMPTINSTALLDIR = \"No\\r\\n\"\nAPPNAME = \"a\\0b\\x7f\\xE4 \\\"q\\\" \\\\\"\n");
  EXPECT_EQ(f.entries[0].value, "No\r\n");
  EXPECT_EQ(f.entries[1].value, std::string("a\0b\x7f\xe4 \"q\" \\", 11));
  EXPECT_EQ(Parse("INSTALLDIR = \"\"").entries[0].value, "");
}

TEST(ScriptFile, ListsEndEachEntryWithCrLf) {
  ScriptFile f =
      Parse("HELPFILES:\n  tabrel.cnt\n\ttabrel.hlp=Corvane Tabrel Help\n\nPACKAGES:\n  \"a=b\\tc\"\nVERSION = 1");
  ASSERT_EQ(f.entries.size(), 3u);
  EXPECT_EQ(f.entries[0].value, "tabrel.cnt\r\ntabrel.hlp=Corvane Tabrel Help\r\n");
  EXPECT_EQ(f.entries[1].value, "a=b\tc\r\n");
  EXPECT_EQ(Parse("SYSFILES:\nVERSION = 1\n").entries[0].value, "");
  EXPECT_EQ(Parse("SYSFILES: raw \"a\\nb\"\n").entries[0].value, "a\nb");
}

TEST(ScriptFile, MistakesNameTheLine) {
  EXPECT_EQ(ErrorOf("APPNAME = x\nBOGUS = 1\n"), "line 2: unknown key 'BOGUS'");
  EXPECT_EQ(ErrorOf("appname = x\n"), "line 1: unknown key 'appname'");
  EXPECT_EQ(ErrorOf("VERSION = 1\nVERSION = 2\n"), "line 2: the key VERSION is given twice (first on line 1)");
  EXPECT_EQ(ErrorOf("  stray\n"), "line 1: an indented line belongs to a list key (KEY:)");
  EXPECT_EQ(ErrorOf("SYSFILES = a.dll\n"),
            "line 1: SYSFILES is a list: write SYSFILES: and one indented line per entry");
  EXPECT_EQ(ErrorOf("VERSION: 1\n"), "line 1: VERSION is not a list: write VERSION = value");
  EXPECT_EQ(ErrorOf("APPNAME = \"open\n"), "line 1: a quoted value must end with a double quote");
  EXPECT_EQ(ErrorOf("APPNAME = \"\\q\"\n"), "line 1: unknown escape \\q");
  EXPECT_EQ(ErrorOf("APPNAME = \"\\x4\"\n"), "line 1: \\x needs two hex digits");
  EXPECT_NE(ErrorOf("CABFILE = payload.rar\n").find("PAYLOAD"), std::string::npos);
  EXPECT_EQ(ErrorOf("just words\n"), "line 1: expected KEY = value or KEY:");
}

TEST(ScriptFile, AppNameIsRequired) {
  const struct {
    const char* text;
    const char* error;  // empty when accepted
  } cases[] = {
      {"APPNAME = x\n", ""},
      {"VERSION = 1\n", "the key APPNAME is missing: it names the product's uninstall entry"},
      {"", "the key APPNAME is missing: it names the product's uninstall entry"},
      {"VERSION = 1\nAPPNAME =\n", "line 2: APPNAME is empty: it names the product's uninstall entry"},
      {"APPNAME = \"\"\n", "line 1: APPNAME is empty: it names the product's uninstall entry"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ScriptFile f;
    std::string error;
    ASSERT_TRUE(ParseScriptFile(c.text, f, error)) << error;
    EXPECT_EQ(CheckRequiredKeys(f, error), *c.error == '\0');
    if (*c.error) {
      EXPECT_EQ(error, c.error);
    }
  }
}
