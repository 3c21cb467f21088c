// The coder's binary trees against a search of every earlier position: each
// match found is real, the longest is found, and taking the newest positions
// out leaves trees that answer right for other bytes at those positions.
#include "rarwriter/match_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/rarwriter/test_entries.h"

namespace {

constexpr unsigned kTreeLength = 32;
constexpr std::size_t kWindow = 1024;
constexpr std::size_t kMaxDist = kWindow - 16;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::size_t Oldest(std::size_t pos, std::size_t floor = 0) {
  return std::max(floor, pos > kMaxDist ? pos - kMaxDist : 0);
}

// Eight bytes a step, against a byte at a time: a difference at every
// place in and across the words, from every start, up to every limit.
TEST(MatchEnd, AgreesWithAByteLoop) {
  for (std::size_t dist : {1, 5, 8, 13}) {
    for (std::size_t differs = 0; differs <= 24; ++differs) {
      std::string s(dist + 24, '\0');
      for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>('a' + i % dist);
      if (differs < 24) s[dist + differs] ^= 0x40;
      const unsigned char* here = Bytes(s) + dist;
      for (std::size_t limit = 0; limit <= 24; ++limit) {
        for (std::size_t from = 0; from <= limit; ++from) {
          std::size_t want = from;
          while (want < limit && here[want] == (here - dist)[want]) ++want;
          ASSERT_EQ(MatchEnd(here, dist, from, limit), want) << dist << " " << differs << " " << from << " " << limit;
        }
      }
    }
  }
}

// Inserts `pos` and checks its matches against every earlier position from
// the oldest one searched; adds the longest found and the longest there is.
void InsertAndCheck(MatchTree& tree, const std::string& s, std::size_t pos, std::size_t floor, std::size_t& found,
                    std::size_t& there) {
  std::vector<TreeMatch> matches;
  const std::size_t oldest = Oldest(pos, floor);
  tree.Insert(Bytes(s), pos, oldest, &matches);
  std::uint32_t longest = 0, last = 0;
  for (std::size_t c = oldest; c < pos; ++c) {
    std::uint32_t len = 0;
    while (len < kTreeLength && s[c + len] == s[pos + len]) ++len;
    longest = std::max(longest, len);
  }
  for (const TreeMatch& m : matches) {
    ASSERT_GT(m.length, last) << "at " << pos;
    ASSERT_TRUE(m.dist >= 1 && m.dist <= pos - oldest) << "at " << pos;
    ASSERT_EQ(s.compare(pos, m.length, s, pos - m.dist, m.length), 0) << "at " << pos;
    last = m.length;
  }
  found += last;
  there += longest >= 3 ? longest : 0;
}

std::string TwoLetters(std::size_t size, unsigned seed) {
  std::string s = test_entries::Noise(size, seed);
  for (char& c : s) c = 'a' + (c & 1);
  return s;
}

}  // namespace

TEST(MatchTree, FindsTheLongestMatchAtEveryPosition) {
  const std::string inputs[] = {TwoLetters(3000, 1), test_entries::Words(3000, 2), std::string(300, 'a'),
                                test_entries::Noise(500, 3) + test_entries::Noise(500, 3) + TwoLetters(2000, 4)};
  for (const std::string& s : inputs) {
    MatchTree tree(kWindow, s.size(), 255, kTreeLength);
    for (std::size_t pos = 0; pos + kTreeLength <= s.size(); ++pos) {
      std::size_t found = 0, there = 0;
      ASSERT_NO_FATAL_FAILURE(InsertAndCheck(tree, s, pos, 0, found, there));
      ASSERT_EQ(found, there) << "at " << pos;
    }
  }
}

// As a coder drops a piece it stored: the positions whose ordering bytes
// reach into the piece come out, newest first, and the positions go in again
// with the next piece's bytes. A position the piece replaced in its tree (the
// same bytes as far as the tree looks; rare in a piece that did not shrink)
// is lost: nearly every longest match is still found.
TEST(MatchTree, PositionsTakenOutLeaveTreesThatAnswerRight) {
  const std::size_t kKept = 1500, kPiece = 500;
  const std::string kept = test_entries::Words(kKept, 5);
  const std::string dropped[] = {test_entries::Noise(kPiece, 6), test_entries::Words(kPiece, 7)};
  const std::string next[] = {test_entries::Words(kPiece, 8), kept.substr(0, kPiece)};
  for (const std::string& d : dropped)
    for (const std::string& n : next) {
      std::string s = kept + d;
      MatchTree tree(kWindow, s.size(), 255, kTreeLength);
      for (std::size_t pos = 0; pos + kTreeLength <= s.size(); ++pos) tree.Insert(Bytes(s), pos, Oldest(pos), nullptr);
      const std::size_t indexed = s.size() - kTreeLength + 1, firstOut = kKept - kTreeLength + 1;
      const std::size_t floor = tree.TakeOut(Bytes(s), firstOut, indexed);
      s = kept + n;
      std::size_t found = 0, there = 0;
      for (std::size_t pos = firstOut; pos + kTreeLength <= s.size(); ++pos)
        ASSERT_NO_FATAL_FAILURE(InsertAndCheck(tree, s, pos, floor, found, there));
      EXPECT_GE(found, there * 19 / 20);
      EXPECT_GT(there, 1000u);
    }
}
