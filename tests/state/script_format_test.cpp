// The list and name=value formats of the setup script.
#include <gtest/gtest.h>

#include "support/string_list.h"

namespace {
using Lines = std::vector<std::string>;
}

TEST(ListFormat, EachKindOfLineBreakEndsOneLine) {
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\rb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(ListFormat, EndsAndEmptyValues) {
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
  EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("only"), (Lines{"only"}));
  EXPECT_EQ(SplitLines("  padded \t"), (Lines{"  padded \t"}));  // nothing trimmed
}

TEST(ListFormat, NulEndsTheScan) {
  EXPECT_EQ(SplitLines(std::string("a\r\nb\0c\r\nd", 10)), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines(std::string("\0a", 2)), Lines{});
}

TEST(NameValueLines, NameIsBeforeFirstEquals) {
  EXPECT_EQ(LineName("zxctd5.dpk=Corvane Tabrel"), "zxctd5.dpk");
  EXPECT_EQ(LineValue("zxctd5.dpk=Corvane Tabrel"), "Corvane Tabrel");
  EXPECT_EQ(LineValue("a=b=c"), "b=c");
  EXPECT_EQ(LineName("no equals"), "");
  EXPECT_EQ(LineValue("no equals"), "");
  EXPECT_EQ(LineName("=x"), "");
  EXPECT_EQ(LineValue("=x"), "x");
}

TEST(NameValueLines, LookupFindsFirstLineIgnoringCase) {
  StringList list;
  list.SetText("pkg.bpl=One\r\nPKG.BPL=Two\r\nother=Three\r\n");
  EXPECT_EQ(list.Value("pkg.bpl"), "One");
  EXPECT_EQ(list.Value("PKG.BPL"), "One");
  EXPECT_EQ(list.Value("Other"), "Three");
  EXPECT_EQ(list.Value("missing"), "");
}

TEST(NameValueLines, LinesWithoutEqualsAreNeverFound) {
  StringList list;
  list.SetText("bare\r\n=empty name\r\n");
  EXPECT_EQ(list.Value("bare"), "");
  EXPECT_EQ(list.Value(""), "empty name");
}

TEST(StringListText, EveryEntryEndsInCrLf) {
  StringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("C:\\A");
  list.Add("");
  list.Add("C:\\A");
  EXPECT_EQ(list.Text(), "C:\\A\r\n\r\nC:\\A\r\n");
  EXPECT_EQ(list.IndexOf("c:\\a"), 0);  // duplicates kept, first match wins
  EXPECT_EQ(list.IndexOf(""), 1);
  EXPECT_EQ(list.IndexOf("C:\\B"), -1);
}
