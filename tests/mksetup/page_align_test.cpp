// The resource section's data moved to a page boundary of the file, and
// every image it cannot change safely left exactly as it was.
#include "mksetup/page_align.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

constexpr std::size_t kPe = 0x40, kOptional = kPe + 24, kTable = kOptional + 0xE0;

// A PE32 image: headers, .text at 0x200 and .rsrc at 0x400 (0x200 bytes
// each, the resource data all 'R'), file alignment 0x200.
std::string Image() {
  std::string s(0x600, '\0');
  s[0] = 'M', s[1] = 'Z';
  Put32(s, 0x3c, kPe);
  s.replace(kPe, 4, std::string("PE\0\0", 4));
  Put32(s, kPe + 4, 2u << 16 | 0x14c);  // machine, two sections
  Put32(s, kPe + 20, 0xE0);             // size of the optional header
  Put32(s, kOptional, 0x10b);
  Put32(s, kOptional + 36, 0x200);  // file alignment
  Put32(s, kOptional + 92, 16);     // directories
  const char* names[] = {".text", ".rsrc"};
  for (int i = 0; i < 2; ++i) {
    const std::size_t h = kTable + 40 * i;
    s.replace(h, 5, names[i]);
    Put32(s, h + 16, 0x200);
    Put32(s, h + 20, 0x200 + 0x200 * i);
  }
  s.replace(0x400, 0x200, std::string(0x200, 'R'));
  return s;
}

}  // namespace

TEST(AlignResourceData, MovesTheDataAndTheOffsets) {
  std::string image = Image();
  ASSERT_TRUE(AlignResourceData(image));
  // Zeros before the data, which now starts at 0x1000; .text stays at 0x200.
  std::string expected = Image();
  Put32(expected, kTable + 40 + 20, 0x1000);
  expected.insert(0x400, 0xC00, '\0');
  EXPECT_EQ(image, expected);
  std::string again = image;
  EXPECT_TRUE(AlignResourceData(again));
  EXPECT_EQ(again, image);
}

TEST(AlignResourceData, LeavesWhatItCannotChangeSafely) {
  const std::pair<const char*, std::function<void(std::string&)>> cases[] = {
      {"not an executable", [](std::string& s) { s[0] = 'X'; }},
      {"cut inside the headers", [](std::string& s) { s.resize(kTable + 20); }},
      {"a certificate", [](std::string& s) { Put32(s, kOptional + 96 + 8 * 4 + 4, 0x100); }},
      {"debug data", [](std::string& s) { Put32(s, kOptional + 96 + 8 * 6 + 4, 0x1c); }},
      {"more directories than the headers hold", [](std::string& s) { Put32(s, kOptional + 92, 0x20000000); }},
      {"a symbol table", [](std::string& s) { Put32(s, kPe + 12, 0x500); }},
      {"no resource section", [](std::string& s) { s[kTable + 40 + 1] = 'x'; }},
      {"a resource offset past the end", [](std::string& s) { Put32(s, kTable + 40 + 20, 0x10000); }},
      {"an optional header of two bytes", [](std::string& s) { Put32(s, kPe + 20, 2); }},
      {"directories beyond the optional header", [](std::string& s) { Put32(s, kPe + 20, 0x60 + 8); }},
      {"a section's data past the end", [](std::string& s) { Put32(s, kTable + 16, 0x10000); }},
  };
  for (const auto& [what, spoil] : cases) {
    SCOPED_TRACE(what);
    std::string image = Image();
    spoil(image);
    const std::string before = image;
    EXPECT_FALSE(AlignResourceData(image));
    EXPECT_EQ(image, before);
  }
}

TEST(IsReadableImage, NeedsEveryHeaderInsideTheFile) {
  EXPECT_TRUE(IsReadableImage(Image()));
  std::string shortOptional = Image();
  Put32(shortOptional, kPe + 20, 2);
  EXPECT_FALSE(IsReadableImage(shortOptional));
  EXPECT_FALSE(IsReadableImage(Image().substr(0, kOptional + 2)));
}
