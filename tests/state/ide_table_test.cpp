// The edition table and the matching of script codes.
#include "state/ide_table.h"

#include <gtest/gtest.h>

TEST(IdeKindFromCode, MatchesWholeCodeIgnoringCase) {
  const char* const codes[8] = {"D2", "C1", "D3", "C3", "D4", "C4", "D5", "C5"};
  for (IdeKind kind = 0; kind < 8; ++kind) {
    EXPECT_EQ(IdeKindFromCode(codes[kind]), kind) << codes[kind];
    std::string lower = codes[kind];
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    EXPECT_EQ(IdeKindFromCode(lower), kind) << lower;
  }
}

TEST(IdeKindFromCode, AnythingElseIsDelphi4) {
  for (const char* code : {"D6", " D5", "D5 ", "D 5", "", "D", "D55", "C0", "d\xe9"})
    EXPECT_EQ(IdeKindFromCode(code), 4) << "'" << code << "'";
}

TEST(IdeTable, KnownPackagesKeys) {
  EXPECT_EQ(GetKnownPackagesKey(0), "");
  EXPECT_EQ(GetKnownPackagesKey(1), "");
  EXPECT_EQ(GetKnownPackagesKey(2), "Software\\Borland\\Delphi\\3.0\\Known Packages");
  EXPECT_EQ(GetKnownPackagesKey(7), "Software\\Borland\\C++Builder\\5.0\\Known Packages");
  for (IdeKind kind = 2; kind < 8; ++kind)
    EXPECT_EQ(GetKnownPackagesKey(kind), IdeRegistryKey(kind) + "\\Known Packages") << int(kind);
}

TEST(IdeTable, PackageExtensionsAreUpperCase) {
  EXPECT_EQ(GetPackageExt(0), "");
  EXPECT_EQ(GetPackageExt(1), "");
  EXPECT_EQ(GetPackageExt(2), ".DPL");
  for (IdeKind kind = 3; kind < 8; ++kind) EXPECT_EQ(GetPackageExt(kind), ".BPL") << int(kind);
}

TEST(IdeTable, ExecutableFollowsParity) {
  for (IdeKind kind = 0; kind < 8; ++kind)
    EXPECT_EQ(GetIdeExeName(kind), kind % 2 == 0 ? "delphi32" : "bcb") << int(kind);
  EXPECT_EQ(GetIdeExeName(8), "bcb");
  EXPECT_EQ(GetIdeExeName(200), "bcb");
}

TEST(IdeTable, RegistryKeysAndBuilds) {
  EXPECT_EQ(IdeRegistryKey(0), "Software\\Borland\\Delphi\\2.0");
  EXPECT_EQ(IdeRegistryKey(5), "Software\\Borland\\C++Builder\\4.0");
  EXPECT_EQ(IdeRegistryKey(6), "Software\\Borland\\Delphi\\5.0");
  const int32_t builds[8] = {-1, -1, 0x00050053, 0x00030046, 0x0005006C, 0x000E000B, -1, -1};
  const char* const help[8] = {"delphi.cnt",  "bcb.cnt",  "delphi3.cnt", "bcb3.cnt",
                               "delphi4.cnt", "bcb4.cnt", "delphi5.cnt", "bcb5.cnt"};
  for (IdeKind kind = 0; kind < 8; ++kind) {
    EXPECT_EQ(IdeEditionOf(kind).expectedBuild, builds[kind]) << int(kind);
    EXPECT_STREQ(IdeEditionOf(kind).helpContentsFile, help[kind]) << int(kind);
  }
}
