// Our RAR library's record fields and where it writes entries.
#include <gtest/gtest.h>

#include <cstring>

#include "unrar/header_fields.h"

TEST(HeaderFields, TextIsCutToTheFieldWithItsNul) {
  char field[8];
  std::memset(field, 'x', sizeof field);
  CopyTextField(field, sizeof field, "abc");
  EXPECT_STREQ(field, "abc");
  EXPECT_EQ(field[7], '\0');  // the rest is cleared
  CopyTextField(field, sizeof field, "abcdefghij");
  EXPECT_EQ(std::string(field, 8), std::string("abcdefg\0", 8));
  CopyTextField(field, sizeof field, "");
  EXPECT_STREQ(field, "");
}

TEST(HeaderFields, BackslashPath) { EXPECT_EQ(BackslashPath("a/b\\c/"), "a\\b\\c\\"); }

// Entries never land outside destPath; destName is used as given.
TEST(ExtractTarget, HostilePathsStayInside) {
  const std::string d = "C:\\dest";
  EXPECT_EQ(ExtractTarget(d, "", "a\\b.txt"), "C:\\dest\\a\\b.txt");
  EXPECT_EQ(ExtractTarget(d + "\\", "", "a/b.txt"), "C:\\dest\\a\\b.txt");
  EXPECT_EQ(ExtractTarget(d, "", "..\\..\\x"), "C:\\dest\\x");
  EXPECT_EQ(ExtractTarget(d, "", "\\x"), "C:\\dest\\x");
  EXPECT_EQ(ExtractTarget(d, "", "C:\\x"), "C:\\dest\\x");
  EXPECT_EQ(ExtractTarget(d, "", "a\\..\\..\\x"), "C:\\dest\\a\\x");
  EXPECT_EQ(ExtractTarget(d, "", "\\\\server\\share\\x"), "C:\\dest\\server\\share\\x");
  EXPECT_EQ(ExtractTarget(d, "", ".."), "");
  EXPECT_EQ(ExtractTarget(d, "", "C:"), "");
  // Names Windows treats specially: nothing to write to, never a device.
  EXPECT_EQ(ExtractTarget(d, "", "sub\\CON.txt"), "");
  EXPECT_EQ(ExtractTarget(d, "", "a.txt:stream"), "");
  EXPECT_EQ(ExtractTarget("", "", "..\\x"), "x");
  EXPECT_EQ(ExtractTarget(d, "D:\\other\\name.txt", "..\\x"), "D:\\other\\name.txt");
}

TEST(ParentFolders, EveryFolderBelowTheRoot) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ParentFolders("C:\\a\\b\\f.txt"), (V{"C:\\a", "C:\\a\\b"}));
  EXPECT_EQ(ParentFolders("\\\\srv\\share\\a\\f"), (V{"\\\\srv\\share\\a"}));
  EXPECT_EQ(ParentFolders("a\\\\b/f"), (V{"a", "a\\\\b"}));
  EXPECT_EQ(ParentFolders("\\a\\f"), (V{"\\a"}));
  EXPECT_EQ(ParentFolders("f"), V{});
}
