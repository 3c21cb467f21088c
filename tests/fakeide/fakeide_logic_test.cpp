// The substitute tools' decisions: command lines, package contents, broken
// sources, produced files, help contents and builds.
#include <gtest/gtest.h>

#include "fakeide/tool_logic.h"

using Strings = std::vector<std::string>;

TEST(ToolArguments, OptionsAndOneSource) {
  ToolRequest r = ParseToolArguments({"-q", "-b", "-JPHN", "C:\\Corvane\\Tab D5\\zxctd5.pas"});
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.options, (Strings{"-q", "-b", "-JPHN"}));
  EXPECT_EQ(r.source, "C:\\Corvane\\Tab D5\\zxctd5.pas");
  r = ParseToolArguments({"-B", "-f", "zx.bpk"});
  EXPECT_EQ(r.source, "zx.bpk");
  EXPECT_NE(ParseToolArguments({"-q", "-b"}).error, "");
  EXPECT_NE(ParseToolArguments({"a.dpk", "b.dpk"}).error, "");
}

TEST(PackageContents, UnitsWithAndWithoutFiles) {
  EXPECT_EQ(ContainedUnitFiles("package zx;\r\nrequires vcl50;\r\ncontains\r\n  ZxTab in 'src\\zxtab.pas',\r\n"
                               "  ZxReg,\r\n  Other IN 'other.pas' {Form};\r\nend.\r\n"),
            (Strings{"src\\zxtab.pas", "ZxReg.pas", "other.pas"}));
  EXPECT_EQ(ContainedUnitFiles("package zx; requires vcl50; end."), Strings{});
  EXPECT_EQ(ContainedUnitFiles("package containsnothing; end."), Strings{}) << "the word stands alone";
  EXPECT_EQ(ContainedUnitFiles("CONTAINS a , b"), (Strings{"a.pas", "b.pas"})) << "clause without ';'";
}

TEST(BrokenSource, OneErrorPerMarkedLine) {
  EXPECT_EQ(
      BrokenSourceMessages("u.pas", "unit u;\r\n  Broken;\r\nx := BROKEN + 1;\r\nUNBROKEN\r\n"),
      (Strings{"u.pas(2) Error: Undeclared identifier: 'BROKEN'", "u.pas(3) Error: Undeclared identifier: 'BROKEN'"}));
  EXPECT_EQ(BrokenSourceMessages("u.pas", "unit u; end."), Strings{});
}

TEST(ProducedFiles, ByExtension) {
  EXPECT_EQ(ProducedExtensions(".dpk", ".BPL"), (Strings{".BPL", ".dcu", ".dcp"}));
  EXPECT_EQ(ProducedExtensions(".DPK", ".DPL"), (Strings{".DPL", ".dcu", ".dcp"}));
  EXPECT_EQ(ProducedExtensions(".pas", ".BPL"), (Strings{".dcu"}));
  EXPECT_EQ(ProducedExtensions(".bpk", ".BPL"), (Strings{".BPL", ".tds", ".obj"}));
  EXPECT_EQ(ProducedExtensions(".Mak", ".BPL"), (Strings{".BPL", ".tds", ".obj"}));
  EXPECT_EQ(ProducedExtensions(".dpr", ".BPL"), (Strings{".exe"}));
  EXPECT_EQ(ProducedExtensions(".txt", ".BPL"), Strings{});
  EXPECT_EQ(ProducedExtensions(".dpk", ""), (Strings{".dcu", ".dcp"})) << "editions without packages";
}

TEST(HelpContents, BaseTitleIndexesThenTopics) {
  const std::string text = HelpContentsText("Delphi 5.0", "delphi5");
  EXPECT_EQ(text.substr(0, 32), ":Base delphi5.hlp\r\n:Title Delphi");
  size_t lf = 0, crlf = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      ++lf;
      crlf += i > 0 && text[i - 1] == '\r';
    }
  EXPECT_EQ(lf, crlf) << "CR LF line ends only";
  const size_t firstIndex = text.find(":Index ");
  const size_t lastIndex = text.rfind(":Index ");
  EXPECT_LT(text.find(":Title"), firstIndex);
  EXPECT_LT(lastIndex, text.find("\r\n1 "));
  EXPECT_EQ(text.substr(firstIndex, text.find("\r\n", firstIndex) - firstIndex),
            ":Index Object Pascal Reference =del5op.hlp");
}

TEST(Builds, ThirdAndFourthParts) {
  unsigned long build = 0;
  EXPECT_TRUE(ParseBuild("5.108", build));
  EXPECT_EQ(build, 0x0005006Cul);
  EXPECT_TRUE(ParseBuild("14.11", build));
  EXPECT_EQ(build, 0x000E000Bul);
  for (const char* bad : {"", "5", "5.", ".5", "5.108.1", "65536.0", "a.b", "-1.2", "1.2 "})
    EXPECT_FALSE(ParseBuild(bad, build)) << bad;
}
