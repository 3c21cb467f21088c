// Message formatting, case rules and command-line quoting.
#include "support/text.h"

#include <gtest/gtest.h>

#include "support/command_line.h"

TEST(FormatText, PlaceholdersInOrder) {
  EXPECT_EQ(FormatText("Invalid data type for '%s'", {"RootDir"}), "Invalid data type for 'RootDir'");
  EXPECT_EQ(FormatText("%s and %s", {"a", "b"}), "a and b");
  EXPECT_EQ(FormatText("Program failed with code (%d)", {"3"}), "Program failed with code (3)");
  EXPECT_EQ(FormatText("100%% of %s", {"x"}), "100% of x");
  EXPECT_EQ(FormatText("%s %s", {"only"}), "only %s");
  EXPECT_EQ(FormatText("a %s", {"%s"}), "a %s");  // an argument is not scanned again
  EXPECT_EQ(FormatText("trailing %", {}), "trailing %");
}

TEST(CaseRules, AsciiFoldingOnly) {
  EXPECT_TRUE(SameTextAscii("d5", "D5"));
  EXPECT_TRUE(SameTextAscii("1.0a", "1.0A"));
  EXPECT_FALSE(SameTextAscii("D5 ", "D5"));
  EXPECT_FALSE(SameTextAscii("\xe4", "\xc4"));
  EXPECT_TRUE(SameText("Zxtabrel_D5.BPL", "zxtabrel_d5.bpl"));
  EXPECT_EQ(UpperAscii("abc.Dpk\xe4"), "ABC.DPK\xe4");
}

TEST(CommandLine, QuotingSurvivesTheRuntimeParser) {
  EXPECT_EQ(QuoteArgument("C:\\Borland\\Delphi5\\Bin\\dcc32.exe"), "\"C:\\Borland\\Delphi5\\Bin\\dcc32.exe\"");
  EXPECT_EQ(QuoteArgument("C:\\Program Files\\X\\"), "\"C:\\Program Files\\X\\\\\"");
  EXPECT_EQ(QuoteArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuoteArgument("a\\\\\"b"), "\"a\\\\\\\\\\\"b\"");
  EXPECT_EQ(QuoteArgument(""), "\"\"");
}

TEST(CommandLine, ToolOptionsAndSource) {
  EXPECT_EQ(BuildCommandLine("C:\\Borland\\Delphi5\\Bin\\dcc32.exe", "-q -b", {"C:\\Corvane\\Tab D5\\zxctd5.dpk"}),
            "\"C:\\Borland\\Delphi5\\Bin\\dcc32.exe\" -q -b \"C:\\Corvane\\Tab D5\\zxctd5.dpk\"");
  EXPECT_EQ(BuildCommandLine("C:\\Prog\\X\\UnInstall.exe", "", {"My App"}),
            "\"C:\\Prog\\X\\UnInstall.exe\" \"My App\"");
}

TEST(CommandLine, SplitUndoesTheQuoting) {
  const std::vector<std::string> args[] = {
      {"C:\\Prog\\X\\UnInstall.exe", "My App"},
      {"C:\\Program Files\\X\\a.exe", "C:\\Program Files\\X\\", "say \"hi\"", "a\\\\\"b", "", "\\\\server\\"},
      {"prog"},
  };
  for (const auto& a : args) {
    std::vector<std::string> rest(a.begin() + 1, a.end());
    EXPECT_EQ(SplitCommandLine(BuildCommandLine(a[0], "", rest)), a);
  }
  // The program name takes quotes as grouping only; arguments may be bare.
  EXPECT_EQ(SplitCommandLine("C:\\a\\b.exe  x\\\\y  \"c d\"e\t\\\"f"),
            (std::vector<std::string>{"C:\\a\\b.exe", "x\\\\y", "c de", "\"f"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\a b\\\"x"), (std::vector<std::string>{"C:\\a b\\x"}));
  EXPECT_EQ(SplitCommandLine(""), std::vector<std::string>{""});
}
