// The x86 filter: the reader's side undoes it byte for byte at every offset,
// calls to one function become alike, and only Windows x86 and x64 images
// are taken for it.
#include "rarwriter/x86_filter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "tests/rarwriter/test_entries.h"

namespace {

// Bytes dense with E8 and E9, their addresses near the reader's thresholds.
std::string Calls(std::size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  const std::uint32_t near[] = {0,        1,         0xFFFFFFFF, 0x7FFFFFFF, 0x80000000,
                                0xFFFFFF, 0x1000000, 0xFF000000, 0xFF000001, 0x00FFFFF0};
  std::string s = test_entries::Noise(size, seed);
  for (std::size_t at = 0; at + 5 <= size; at += 1 + gen() % 9) {
    s[at] = gen() % 2 ? '\xE8' : '\xE9';
    const std::uint32_t v = near[gen() % 10] + static_cast<std::uint32_t>(gen() % 5) - 2;
    for (int i = 0; i < 4; ++i) s[at + 1 + i] = static_cast<char>(v >> (8 * i));
  }
  return s;
}

unsigned char* Bytes(std::string& s) { return reinterpret_cast<unsigned char*>(&s[0]); }

}  // namespace

TEST(X86Filter, TheReaderUndoesItAtEveryOffset) {
  for (std::size_t size : {0, 4, 5, 6, 9, 4096}) {
    for (std::uint32_t offset : {0u, 3u, 0xFFFFF0u, 0xFFFFFDu, 0x2345678u}) {
      SCOPED_TRACE(std::to_string(size) + " at " + std::to_string(offset));
      const std::string original = Calls(size, static_cast<unsigned>(size + offset));
      std::string s = original;
      EncodeX86Block(Bytes(s), s.size(), offset);
      if (size >= 4096) {
        EXPECT_NE(s, original);
      }
      DecodeX86Block(Bytes(s), s.size(), offset);
      EXPECT_TRUE(s == original);
    }
  }
}

TEST(X86Filter, CallsToOneFunctionBecomeAlike) {
  // Two calls to 0x5000 from different places: one relative address each
  // before, one absolute address after.
  std::string s(0x200, '\x90');
  for (std::uint32_t at : {0x10u, 0x150u}) {
    const std::uint32_t rel = 0x5000 - (at + 5);
    s[at] = '\xE8';
    for (int i = 0; i < 4; ++i) s[at + 1 + i] = static_cast<char>(rel >> (8 * i));
  }
  EncodeX86Block(Bytes(s), s.size(), 0);
  EXPECT_EQ(s.substr(0x11, 4), s.substr(0x151, 4));
}

TEST(X86Filter, OnlyWindowsX86AndX64Images) {
  std::string x64 = test_entries::X86Image(512, 1, 3);
  x64[0x44] = '\x64', x64[0x45] = '\x86';
  std::string arm = x64;
  arm[0x44] = '\xC4', arm[0x45] = '\x01';
  const std::pair<std::string, bool> cases[] = {{test_entries::X86Image(512, 1, 3), true},
                                                {x64, true},
                                                {arm, false},
                                                {"MZ" + std::string(100, '\0'), false},
                                                {test_entries::X86Image(512, 1, 3).substr(0, 0x44), false},
                                                {test_entries::Noise(512, 2), false}};
  for (const auto& [data, expected] : cases) EXPECT_EQ(IsX86Image(data), expected);
}
