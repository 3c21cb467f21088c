// The match finder on threads: every match it hands out is real, also across
// its blocks and at a piece's end, and the lists are the same on one thread
// and on several (each thread keeps its own trees; none reuses a slot another
// still reads).
#include "rarwriter/match_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/rarwriter/test_entries.h"

namespace {

constexpr std::size_t kWindow = std::size_t{1} << 20;  // blocks large enough for threads
constexpr std::uint32_t kMaxDist = kWindow - 16;
constexpr unsigned kTreeLength = 64;

// Every position's matches, checked against the bytes, in one list.
std::vector<TreeMatch> AllMatches(const std::string& s, unsigned threads) {
  const unsigned char* buf = reinterpret_cast<const unsigned char*>(s.data());
  MatchFinder finder(kWindow, s.size(), 32, kTreeLength, kTreeLength, threads);
  finder.Begin(buf, 0, s.size() - kTreeLength + 1, 0, kMaxDist);
  std::vector<TreeMatch> all, found;
  for (std::size_t pos = 0; pos < s.size(); ++pos) {
    finder.Matches(pos, s.size(), found);
    std::uint32_t last = 0;
    for (const TreeMatch& m : found) {
      EXPECT_GT(m.length, last);
      EXPECT_TRUE(m.dist >= 1 && m.dist <= pos && m.dist <= kMaxDist);
      EXPECT_EQ(s.compare(pos, m.length, s, pos - m.dist, m.length), 0) << "at " << pos;
      last = m.length;
    }
    all.insert(all.end(), found.begin(), found.end());
    all.push_back({0, 0});  // ends the position's list
  }
  EXPECT_EQ(finder.Finish(), s.size() - kTreeLength + 1);
  return all;
}

}  // namespace

TEST(MatchFinder, RealMatchesAndTheSameOnAnyNumberOfThreads) {
  // Text beyond the window, repeats from a window back, and a run.
  const std::string words = test_entries::Words(kWindow + kWindow / 8, 1);
  const std::string s = words + words.substr(kWindow / 16, kWindow / 8) + std::string(5000, 'x');
  const std::vector<TreeMatch> one = AllMatches(s, 1);
  for (unsigned threads : {2u, 3u}) {
    const std::vector<TreeMatch> many = AllMatches(s, threads);
    ASSERT_EQ(many.size(), one.size()) << threads << " threads";
    for (std::size_t i = 0; i < one.size(); ++i)
      ASSERT_TRUE(many[i].length == one[i].length && many[i].dist == one[i].dist) << threads << " threads, " << i;
  }
}

// Positions inside a long repeat stay out of the trees, yet each one still
// gets the repeat's match, as long as the trees look or to the repeat's end,
// while the skipped length of it is left (also when that is shorter than the
// trees' length).
TEST(MatchFinder, EveryPositionOfALongRepeatGetsItsMatch) {
  const std::string noise = test_entries::Noise(kWindow / 4, 2);
  const std::size_t from = 1000, size = kWindow / 8, start = noise.size();
  const std::string s = noise + noise.substr(from, size) + test_entries::Noise(kWindow / 16, 3);
  const unsigned char* buf = reinterpret_cast<const unsigned char*>(s.data());
  for (unsigned skip : {kTreeLength, kTreeLength - 24})
    for (unsigned threads : {1u, 2u}) {
      MatchFinder finder(kWindow, s.size(), 32, kTreeLength, skip, threads);
      finder.Begin(buf, 0, s.size() - kTreeLength + 1, 0, kMaxDist);
      std::vector<TreeMatch> found;
      for (std::size_t pos = 0; pos < s.size(); ++pos) {
        finder.Matches(pos, s.size(), found);
        if (pos < start || pos + skip > start + size) continue;
        const std::size_t left = std::min<std::size_t>(kTreeLength, start + size - pos);
        ASSERT_FALSE(found.empty()) << pos;
        ASSERT_GE(found.back().length, left) << skip << " skipped, at " << pos;
        ASSERT_EQ(found.back().dist, start - from) << skip << " skipped, at " << pos;
        ASSERT_EQ(s.compare(pos, found.back().length, s, pos - found.back().dist, found.back().length), 0) << pos;
      }
      finder.Finish();
    }
}
