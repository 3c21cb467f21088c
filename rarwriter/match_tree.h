#pragma once
// The coder's index of its history: a binary tree per hash of three bytes,
// each ordered by the first `treeLength` bytes of its positions and headed
// by the newest, as LZ77 coders with binary trees keep it. A search walks
// one tree down and finds, for each match length, the nearest position.
// Positions are given plus one (0: none); children are always older than
// their parent, which lets a newest position be taken out again.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

struct TreeMatch {
  std::uint32_t length, dist;
};

// How far the bytes at `here` go on matching those `dist` before them,
// counted on from `from`, up to `limit`.
// Eight bytes a step: the first that differs is the lowest set byte of the
// two words' difference (little-endian loads).
inline std::size_t MatchEnd(const unsigned char* here, std::size_t dist, std::size_t from, std::size_t limit) {
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "words are compared from their low byte");
  const unsigned char* there = here - dist;  // not here[from - dist]: that index wraps when from < dist
  for (; from + 8 <= limit; from += 8) {
    std::uint64_t a, b;
    std::memcpy(&a, here + from, 8);
    std::memcpy(&b, there + from, 8);
    if (a != b) return from + static_cast<std::size_t>(__builtin_ctzll(a ^ b) >> 3);
  }
  while (from < limit && there[from] == here[from]) ++from;
  return from;
}

class MatchTree {
 public:
  // `window`: a power of two above the farthest distance; `depth`: nodes
  // visited per search at most.
  MatchTree(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength);

  // Adds `pos` of `buf` (with `treeLength` bytes from it) as the newest
  // position of its tree; with `out`, appends the matches found on the way,
  // each longer than the one before, no longer than `treeLength`. Positions
  // before `oldest` are left out of the search (and of the tree).
  void Insert(const unsigned char* buf, std::size_t pos, std::size_t oldest, std::vector<TreeMatch>* out);
  // The same matches, up to `limit` bytes, leaving the trees as they are.
  void Search(const unsigned char* buf, std::size_t pos, std::size_t limit, std::size_t oldest,
              std::vector<TreeMatch>& out) const;
  // Takes the positions from `from` to `to`, the newest in the trees, out
  // again, newest first. Answers the oldest position a search may visit
  // from now on: the slots of the positions a window before them held
  // theirs.
  std::size_t TakeOut(const unsigned char* buf, std::size_t from, std::size_t to);
  // Every position moves down by `cut` (the history lost its first bytes).
  void Rebase(std::uint32_t cut);
  void Clear();

  // Which of `shares` groups of trees `pos` belongs to.
  unsigned Share(const unsigned char* buf, std::size_t pos, unsigned shares) const { return Hash(buf + pos) % shares; }
  std::size_t Window() const { return mask_ + 1; }
  unsigned TreeLength() const { return treeLength_; }

 private:
  std::uint32_t Hash(const unsigned char* p) const;
  void Remove(const unsigned char* buf, std::size_t pos, std::size_t oldest);
  std::uint32_t* Pair(std::uint32_t node) { return &son_[2 * ((node - 1) & mask_)]; }
  const std::uint32_t* Pair(std::uint32_t node) const { return &son_[2 * ((node - 1) & mask_)]; }

  std::size_t mask_;
  unsigned hashShift_, depth_, treeLength_;
  std::vector<std::uint32_t> head_;
  // Per position (modulo the window): its smaller and its larger subtree.
  std::vector<std::uint32_t> son_;
};
