// How tokens fall into blocks: one block while one set of tables serves, a
// new one where the tokens change, and never more than a reader takes in
// one block (half the window of output, a size field of three bytes).
#include "rarwriter/rar5_blocks.h"

#include <gtest/gtest.h>

namespace {

struct BlockHeader {
  bool tables, last;
  std::size_t size;
};

// The headers of the blocks in `data`, checking each one's check byte.
std::vector<BlockHeader> Headers(const std::string& data) {
  std::vector<BlockHeader> headers;
  for (std::size_t at = 0; at + 2 < data.size();) {
    const unsigned flags = static_cast<unsigned char>(data[at]);
    const unsigned sizeBytes = ((flags >> 3) & 3) + 1;
    std::size_t size = 0;
    unsigned check = 0x5A ^ flags;
    for (unsigned i = 0; i < sizeBytes; ++i) {
      const unsigned byte = static_cast<unsigned char>(data[at + 2 + i]);
      size |= std::size_t{byte} << (8 * i);
      check ^= byte;
    }
    EXPECT_EQ(check & 0xFF, static_cast<unsigned char>(data[at + 1]));
    headers.push_back({(flags & 0x80) != 0, (flags & 0x40) != 0, size});
    at += 2 + sizeBytes + size;
    EXPECT_LE(at, data.size());
  }
  return headers;
}

std::vector<LzToken> Repeat(std::size_t n, LzToken t) { return std::vector<LzToken>(n, t); }

std::vector<LzToken> Text(std::size_t n) {
  std::vector<LzToken> tokens;
  for (std::size_t i = 0; i < n; ++i) tokens.push_back({0, static_cast<std::uint32_t>("etaoin shrdlu"[i * 7 % 13])});
  return tokens;
}

std::vector<LzToken> Then(std::vector<LzToken> a, const std::vector<LzToken>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(Rar5Blocks, TokensFallIntoBlocksAsTheReaderTakesThem) {
  const std::size_t window = std::size_t{1} << 17;
  const std::vector<LzToken> matches = Repeat(3000, {70000, 9});
  const struct {
    const char* name;
    std::vector<LzToken> tokens;
    std::size_t blocks;
  } cases[] = {
      {"alike: one block", Text(5000), 1},
      {"text, then matches far back", Then(Text(3000), matches), 2},
      {"a window of output in runs: four halves", Repeat(64, {1, 4096}), 4},
      {"more tokens than a block holds", Text(70000), 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EncodeRar5Blocks(c.tokens, window, true, out);
    const std::vector<BlockHeader> headers = Headers(out);
    ASSERT_EQ(headers.size(), c.blocks);
    for (std::size_t i = 0; i < headers.size(); ++i) {
      EXPECT_TRUE(headers[i].tables);
      EXPECT_EQ(headers[i].last, i + 1 == headers.size());
    }
  }
}

// Two hundred bytes about as often as each other (8 to 12 times): the tables
// give them lengths in runs, which the tables' run-length code sends in a
// few bytes, rather than the lengths that fit the counts to the last bit.
TEST(Rar5Blocks, TablesOfAlikeCountsAreEvenedOut) {
  std::vector<LzToken> tokens;
  for (unsigned round = 0; round < 12; ++round)
    for (unsigned byte = 0; byte < 200; ++byte)
      if (round < 8 + byte * 7 % 5) tokens.push_back({0, byte});
  std::string out;
  EncodeRar5Blocks(tokens, std::size_t{1} << 17, true, out);
  // log2(200) = 7.64 bits a literal; with lengths fitted to the counts, 61 bytes more.
  EXPECT_LT(out.size(), tokens.size() * 764 / 800 + 45);
}

// A solid stream's file coded with the tables the reader holds from the file
// before: a small one sends none when they serve, and sends its own when
// they lack a symbol it uses.
TEST(Rar5Blocks, SmallFileUsesTheTablesTheReaderHolds) {
  const std::size_t window = std::size_t{1} << 17;
  std::vector<std::uint8_t> held;
  std::string first;
  EncodeRar5Blocks(Text(300), window, true, first, &held);
  std::vector<std::uint8_t> lacking = held;
  lacking['q'] = 0;
  const struct {
    const char* name;
    std::vector<LzToken> tokens;
    const std::vector<std::uint8_t>& held;
    bool tables;
  } cases[] = {
      {"letters and a match", Then(Text(200), {{5, 4, 0}}), held, false},
      {"a letter the held tables lack", Then(Text(200), {{0, 'q'}}), lacking, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> reader = c.held;
    std::string out, alone;
    EncodeRar5Blocks(c.tokens, window, true, out, &reader);
    EncodeRar5Blocks(c.tokens, window, true, alone);
    const std::vector<BlockHeader> headers = Headers(out);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].tables, c.tables);
    EXPECT_EQ(out.size() < alone.size(), !c.tables);
  }
}
