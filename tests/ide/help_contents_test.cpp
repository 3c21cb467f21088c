// The line rules of the IDE help contents file: loading, saving, which line
// names a help file, and where a new index line goes.
#include "ide/help_contents.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct LoadCase {
  std::string text;
  Lines lines;
};

struct RemoveCase {
  const char* what;
  Lines before;
  std::string helpFile;
  Lines after;  // equal to `before` when nothing is removed
};

struct InsertCase {
  const char* what;
  Lines lines;
  size_t position;
};

}  // namespace

TEST(HelpContents, LoadingSplitsAtEveryKindOfLineBreak) {
  const LoadCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string("\0a", 2), {}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ContentsLines(c.text), c.lines);
  }
}

TEST(HelpContents, SavingEndsEveryLineWithCrLf) {
  EXPECT_EQ(ContentsText({}), "");
  EXPECT_EQ(ContentsText({""}), "\r\n");
  EXPECT_EQ(ContentsText({":Base delphi5.hlp", ":Index A =a.hlp"}), ":Base delphi5.hlp\r\n:Index A =a.hlp\r\n");
  EXPECT_EQ(ContentsLines(ContentsText({"x", "", "y"})), Lines({"x", "", "y"}));
}

TEST(HelpContents, IndexLineForm) {
  EXPECT_EQ(IndexLine("Corvane Tabrel Help", "tabrel.hlp"), ":Index Corvane Tabrel Help =tabrel.hlp");
  EXPECT_EQ(IndexLine("", "tabrel.hlp"), ":Index  =tabrel.hlp");
}

TEST(HelpContents, RemovesTheFirstLineWithThatValuePartOnly) {
  const RemoveCase cases[] = {
      {"exact value part", {":Base x", ":Index T =tabrel.hlp", "1 Topic"}, "tabrel.hlp", {":Base x", "1 Topic"}},
      {"first of two", {":Index A =tabrel.hlp", ":Index B =tabrel.hlp"}, "tabrel.hlp", {":Index B =tabrel.hlp"}},
      {"any line, not only index lines", {"2 Topic=tabrel.hlp"}, "tabrel.hlp", {}},
      {"value from the first =", {":Index A=B =tabrel.hlp"}, "tabrel.hlp", {":Index A=B =tabrel.hlp"}},
      {"case significant", {":Index T =tabrel.hlp"}, "TABREL.HLP", {":Index T =tabrel.hlp"}},
      {"blank after =", {":Index Old Title = tabrel.hlp"}, "tabrel.hlp", {":Index Old Title = tabrel.hlp"}},
      {"trailing blank", {":Index T =tabrel.hlp "}, "tabrel.hlp", {":Index T =tabrel.hlp "}},
      {"empty name never matches", {":Base x", "a="}, "", {":Base x", "a="}},
      {"empty file", {}, "tabrel.hlp", {}},
  };
  for (const RemoveCase& c : cases) {
    SCOPED_TRACE(c.what);
    Lines lines = c.before;
    EXPECT_EQ(RemoveIndexLine(lines, c.helpFile), c.after != c.before);
    EXPECT_EQ(lines, c.after);
  }
}

TEST(HelpContents, NewLineGoesAfterTheFirstRunOfIndexLines) {
  const InsertCase cases[] = {
      {"empty file", {}, 0},
      {"no index line", {":Base delphi5.hlp", ":Title Delphi", "1 Topic"}, 3},
      {"after the second of two",
       {":Base delphi5.hlp", ":Title Delphi 5", ":Index VCL =vcl5.hlp", ":Index RTL =rtl5.hlp", "1 Topic",
        ":Index Late =late.hlp"},
       4},
      {"index lines first", {":Index A =a.hlp", "1 Topic"}, 1},
      {"only index lines", {":Index A =a.hlp", ":Index B =b.hlp"}, 2},
      {"upper-case keyword is no index line", {":Base x", ":INDEX A =a.hlp", "1 Topic"}, 3},
      {"keyword without its blank", {":Index", "1 Topic"}, 2},
      {"keyword inside a line stops both skips", {":Base x", "; see :Index A =a.hlp", ":Index B =b.hlp"}, 1},
      {"keyword inside a line ends the run", {":Index A =a.hlp", " :Index B =b.hlp", ":Index C =c.hlp"}, 1},
  };
  for (const InsertCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IndexInsertPosition(c.lines), c.position);
  }
}
