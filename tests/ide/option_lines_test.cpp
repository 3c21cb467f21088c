// The define lines of the option include file and their rewrite.
#include "ide/option_lines.h"

#include <gtest/gtest.h>

#include "support/string_list.h"

namespace {

using Lines = std::vector<std::string>;

Lines Rewrite(Lines lines, const Lines& options) {
  RewriteDefineLines(lines, StringList(options));
  return lines;
}

std::string NameOf(const std::string& line) {
  std::string name = "<untouched>";
  return ParseDefineLine(line, name) ? name : "<no define>";
}

}  // namespace

TEST(ParseDefineLine, RecognisedForms) {
  EXPECT_EQ(NameOf("{$DEFINE FOO}"), "FOO");
  EXPECT_EQ(NameOf("{$define Foo_1$}"), "Foo_1$");
  EXPECT_EQ(NameOf(" \t{$DeFiNe\tBAR} // note"), "BAR");
  EXPECT_EQ(NameOf("//{$DEFINE X}"), "X");
  EXPECT_EQ(NameOf("  //  {$DEFINE X}"), "X");
  EXPECT_EQ(NameOf("{$DEFINEFOO}"), "FOO");
  EXPECT_EQ(NameOf("{$DEFINE}"), "");
  EXPECT_EQ(NameOf("{$DEFINE"), "");
  EXPECT_EQ(NameOf("{$DEFINE FOO-BAR}"), "FOO");
}

TEST(ParseDefineLine, OtherLinesAreNotDefines) {
  for (const char* line : {"", "   ", "{$IFDEF FOO}", "{.$DEFINE FOO}", "{$UNDEF FOO}", "{$DEFIN", "// //{$DEFINE X}",
                           "/{$DEFINE X}", "x{$DEFINE X}", "{ $DEFINE X}"}) {
    SCOPED_TRACE(line);
    std::string name = "kept";
    EXPECT_FALSE(ParseDefineLine(line, name));
    EXPECT_EQ(name, "kept");
  }
}

TEST(DefineLineText, EnabledAndCommentedOut) {
  EXPECT_EQ(DefineLineText("CorvaneTabrel", true), "  {$DEFINE CorvaneTabrel}");
  EXPECT_EQ(DefineLineText("CorvaneTabrel", true).size(), 25u);
  EXPECT_EQ(DefineLineText("CorvaneTabrel", false), "//  {$DEFINE CorvaneTabrel}");
  EXPECT_EQ(DefineLineText("CorvaneTabrel", false).size(), 27u);
}

TEST(OptionName, BlanksRemoved) {
  EXPECT_EQ(OptionName("Corvane Tabrel"), "CorvaneTabrel");
  EXPECT_EQ(OptionName(" Corvane  Extra Pack "), "CorvaneExtraPack");
  EXPECT_EQ(OptionName("Tab\tName"), "Tab\tName");
}

TEST(RewriteDefineLines, InstalledOptionsOnOthersOff) {
  const Lines options = {"CorvaneTabrel", "CorvaneExtraPack"};
  EXPECT_EQ(
      Rewrite({"{$DEFINE CORVANETABREL}", "// {$define CorvaneExtraPack}", "{$DEFINE CORVANEOTHER}", "{$I zx.inc}"},
              options),
      (Lines{"  {$DEFINE CORVANETABREL}", "  {$DEFINE CorvaneExtraPack}", "//  {$DEFINE CORVANEOTHER}",
             "{$I zx.inc}"}));
}

TEST(RewriteDefineLines, StopsAtTheMarkerLine) {
  const Lines after = {"{$DEFINE LATER}", "// {$DEFINE A}"};
  Lines file = {"{$DEFINE A}", "{$i ZX.INC}"};
  file.insert(file.end(), after.begin(), after.end());
  Lines expected = {"//  {$DEFINE A}", "{$i ZX.INC}"};
  expected.insert(expected.end(), after.begin(), after.end());
  EXPECT_EQ(Rewrite(file, {}), expected);

  // Only the whole line is the marker: with a blank before it the walk goes on.
  EXPECT_EQ(Rewrite({" {$I zx.inc}", "{$DEFINE A}"}, {"a"}), (Lines{" {$I zx.inc}", "  {$DEFINE A}"}));
  EXPECT_EQ(Rewrite({"{$I zx.inc} ", "{$DEFINE A}"}, {}), (Lines{"{$I zx.inc} ", "//  {$DEFINE A}"}));
}

TEST(RewriteDefineLines, NormalisesEveryDefineAndLeavesOtherLines) {
  EXPECT_EQ(
      Rewrite({"{$DEFINE FOO} // comment", "   {$DEFINE   FOO}", "{$IFDEF FOO}", "{.$DEFINE FOO}", "{$UNDEF FOO}", "",
               "unit text"},
              {"foo"}),
      (Lines{"  {$DEFINE FOO}", "  {$DEFINE FOO}", "{$IFDEF FOO}", "{.$DEFINE FOO}", "{$UNDEF FOO}", "", "unit text"}));
}

TEST(RewriteDefineLines, EmptyNameOnlyForAnEmptyOption) {
  EXPECT_EQ(Rewrite({"{$DEFINE}"}, {"X"}), (Lines{"//  {$DEFINE }"}));
  EXPECT_EQ(Rewrite({"{$DEFINE}"}, {""}), (Lines{"  {$DEFINE }"}));
}
