// The package builder's pure rules: tool, placing, file look-up, output
// filter, capture text and the texts of a run.
#include "ide/package_rules.h"

#include <gtest/gtest.h>

#include "support/string_list.h"

namespace {

struct ToolCase {
  IdeKind kind;
  const char* ext;
  const char* file;
  const char* options;
};

struct PlacingCase {
  const char* ext;
  bool placed;
  const char* produced;
  std::vector<std::string> byProducts;
};

struct TextCase {
  const char* what;
  std::string in;
  std::string out;
};

}  // namespace

TEST(PackageRules, ToolByEditionParityAndExtension) {
  const ToolCase cases[] = {
      {6, ".dpk", "dcc32.exe", "-q -b"},       {0, ".bpk", "dcc32.exe", "-q -b"},
      {4, ".PAS", "dcc32.exe", "-q -b"},       {7, ".pas", "dcc32.exe", "-q -b -JPHN"},
      {1, ".PaS", "dcc32.exe", "-q -b -JPHN"}, {7, ".bpk", "make.exe", "-B -f"},
      {3, ".dpk", "make.exe", "-B -f"},        {5, "", "make.exe", "-B -f"},
  };
  for (const ToolCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + c.ext);
    const BuildTool tool = ChooseBuildTool(c.kind, c.ext);
    EXPECT_STREQ(tool.file, c.file);
    EXPECT_STREQ(tool.options, c.options);
  }
}

TEST(PackageRules, PlacingByExtension) {
  const PlacingCase cases[] = {
      {".pas", true, ".dcu", {}},
      {".DPK", true, ".BPL", {".dcu", ".dcp"}},
      {".bpk", true, ".BPL", {".tds", ".obj"}},
      {".Mak", true, ".BPL", {".tds", ".obj"}},
      {".dpr", true, ".exe", {}},
      {".cpp", false, "", {}},
      {"", false, "", {}},
  };
  for (const PlacingCase& c : cases) {
    SCOPED_TRACE(c.ext);
    const PackagePlacing placing = PlacingFor(c.ext, ".BPL");
    EXPECT_EQ(placing.placed, c.placed);
    EXPECT_EQ(placing.producedExt, c.produced);
    EXPECT_EQ(placing.byProducts, c.byProducts);
  }
  EXPECT_EQ(PlacingFor(".dpk", ".DPL").producedExt, ".DPL");
}

TEST(PackageRules, PlacedPathAndDrives) {
  EXPECT_EQ(PlacedPath("C:\\WINDOWS\\SYSTEM\\", "C:\\Corvane\\Tab_D5\\zxctd5.dpk", ".BPL"),
            "C:\\WINDOWS\\SYSTEM\\zxctd5.BPL");
  EXPECT_EQ(PlacedPath("C:\\WINDOWS\\SYSTEM", "C:\\Corvane\\Tab.D5\\zxctd5", ".BPL"),
            "C:\\WINDOWS\\SYSTEM\\zxctd5.BPL");
  EXPECT_EQ(PlacedPath("", "C:\\a\\b.x.dpk", ".BPL"), "b.x.BPL");
  EXPECT_TRUE(SameDrive("c:\\a\\b.bpl", "C:\\WINDOWS\\b.bpl"));
  EXPECT_FALSE(SameDrive("D:\\a\\b.bpl", "C:\\WINDOWS\\b.bpl"));
  EXPECT_TRUE(SameDrive("\\\\Server\\Share\\b", "\\\\server\\SHARE\\c"));
  EXPECT_FALSE(SameDrive("\\\\server\\share\\b", "C:\\b"));
  EXPECT_TRUE(SameDrive("relative\\b", "b"));
}

TEST(PackageRules, FindFileByNameWholeNameAnyCase) {
  const StringList files(
      {"C:\\Tab\\Sub\\zxctd5.dpk", "C:\\Tab\\zxctd5.dpk", "C:\\WINDOWS\\SYSTEM\\zxtabrel_d5.bpl", "D:zx.pas"});
  EXPECT_EQ(FindFileByName(files, "ZXCTD5.DPK"), "C:\\Tab\\Sub\\zxctd5.dpk");
  EXPECT_EQ(FindFileByName(files, "zxtabrel_d5.bpl"), "C:\\WINDOWS\\SYSTEM\\zxtabrel_d5.bpl");
  EXPECT_EQ(FindFileByName(files, "zx.pas"), "D:zx.pas");
  EXPECT_EQ(FindFileByName(files, "ctd5.dpk"), "");
  EXPECT_EQ(FindFileByName(files, "Sub\\zxctd5.dpk"), "");
  EXPECT_EQ(FindFileByName(files, ""), "");
}

TEST(PackageRules, FilterKeepsLinesWithAKeywordWord) {
  const TextCase cases[] = {
      {"banner, error, fatal; not the plain line nor the exit-code line",
       "Program failed with code (1)\r\nBorland Delphi Version 13.0\r\nzxtab.pas(12) Error: Undeclared\r\n"
       "zxctd5.dpk(3) Fatal: File not found\r\nzxctd5.dpk(9) Warning: unsafe\r\n",
       "Borland Delphi Version 13.0\rzxtab.pas(12) Error: Undeclared\rzxctd5.dpk(3) Fatal: File not found\r"},
      {"any case", "x(1) error: a\r\n", "x(1) error: a\r"},
      {"colon needed", "x(1) Error a\r\n", ""},
      {"last word carries the CR", "MAKE Version 5.2 Copyright (c) 1987, 2000 Borland\r\n", ""},
      {"last word at the end of the text", "Copyright Borland", "Copyright Borland"},
      {"leading blanks dropped, a tab belongs to the word", "   Fatal: x\n\tFatal: y\n", "Fatal: x"},
      {"once per matching word", "Error: Fatal: Borland\n",
       "Error: Fatal: BorlandError: Fatal: BorlandError: Fatal: Borland"},
      {"blank runs and empty lines", "\n\n  \n a  Error:   b  \n", "a  Error:   b  "},
      {"no line feed at the end", "x(2) Error: last", "x(2) Error: last"},
      {"empty", "", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FilterCompilerOutput(c.in), c.out);
  }
}

TEST(PackageRules, CaptureFileReadAsLines) {
  const TextCase cases[] = {
      {"CR LF lines", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"no break at the end", "a\r\nb", "a\r\nb\r\n"},
      {"lone CR", "a\rb", "a\r\nb\r\n"},
      {"lone LF stays in the line", "a\nb\n", "a\nb\n\r\n"},
      {"CR CR LF", "a\r\r\nb", "a\r\n\r\nb\r\n"},
      {"0x1A ends the text",
       "a\r\n\x1A"
       "b\r\n",
       "a\r\n"},
      {"0x1A inside a line",
       "ab\x1A"
       "c\rd",
       "ab\r\n"},
      {"empty", "", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CapturedText(c.in), c.out);
  }
}

TEST(PackageRules, RunTexts) {
  EXPECT_EQ(ExitCodeLine(0), "Program failed with code (0)\r\n");
  EXPECT_EQ(ExitCodeLine(2), "Program failed with code (2)\r\n");
  EXPECT_EQ(ExitCodeLine(0xC0000005), "Program failed with code (-1073741819)\r\n");
  EXPECT_EQ(StartFailureText("The system cannot find the file specified.\r\n", 2),
            "The system cannot find the file specified. ErrorCode=2");
  EXPECT_EQ(StartFailureText(" ..\r\n", 87), "ErrorCode=87");
  EXPECT_EQ(StartFailureText("", 1234), "ErrorCode=1234");
  EXPECT_EQ(std::string(kIncompatibleVersionText)
                .rfind("Incompatible version of Delphi/CPB.\r\n"
                       "Please download the latest patch from\r\nhttp://",
                       0),
            0u);
  EXPECT_NE(std::string(kIncompatibleVersionText).back(), '\n');
}
