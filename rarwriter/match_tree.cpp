#include "rarwriter/match_tree.h"

#include <algorithm>

MatchTree::MatchTree(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength)
    : mask_(window - 1), depth_(depth), treeLength_(treeLength) {
  // About as many trees as positions indexed, 4K to 1M.
  unsigned bits = 12;
  while (bits < 20 && (std::size_t{1} << bits) < std::min(sizeHint, window)) ++bits;
  hashShift_ = 32 - bits;
  head_.assign(std::size_t{1} << bits, 0);
  son_.assign(2 * window, 0);
}

std::uint32_t MatchTree::Hash(const unsigned char* p) const {
  const std::uint32_t v = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
  return (v * 2654435761u) >> hashShift_;
}

void MatchTree::Insert(const unsigned char* buf, std::size_t pos, std::size_t oldest, std::vector<TreeMatch>* out) {
  const unsigned char* cur = buf + pos;
  std::uint32_t& head = head_[Hash(cur)];
  std::uint32_t cand = head;
  head = static_cast<std::uint32_t>(pos + 1);
  std::uint32_t* smaller = Pair(head);     // where the next smaller node hangs
  std::uint32_t* larger = Pair(head) + 1;  // and the next larger one
  std::size_t lenSmaller = 0, lenLarger = 0;
  std::uint32_t best = 2;
  for (unsigned depth = depth_;; --depth) {
    const std::size_t c = cand - 1;
    if (cand == 0 || depth == 0 || c >= pos || c < oldest) {
      *smaller = *larger = 0;
      return;
    }
    std::uint32_t* pair = Pair(cand);
    const unsigned char* there = buf + c;
    // Every node below shares at least the shorter of the two prefixes.
    std::size_t len = std::min(lenSmaller, lenLarger);
    if (there[len] == cur[len]) {
      len = MatchEnd(cur, pos - c, len + 1, treeLength_);
      if (out && len > best) {
        best = static_cast<std::uint32_t>(len);
        out->push_back({best, static_cast<std::uint32_t>(pos - c)});
      }
      if (len == treeLength_) {  // the same as far as the tree looks: the new node replaces it
        *smaller = pair[0];
        *larger = pair[1];
        return;
      }
    }
    if (there[len] < cur[len]) {
      *smaller = cand;
      smaller = pair + 1;
      cand = *smaller;
      lenSmaller = len;
    } else {
      *larger = cand;
      larger = pair;
      cand = *larger;
      lenLarger = len;
    }
  }
}

void MatchTree::Search(const unsigned char* buf, std::size_t pos, std::size_t limit, std::size_t oldest,
                       std::vector<TreeMatch>& out) const {
  limit = std::min<std::size_t>(limit, treeLength_);
  if (limit < 3) return;
  const unsigned char* cur = buf + pos;
  std::uint32_t cand = head_[Hash(cur)];
  std::size_t lenSmaller = 0, lenLarger = 0;
  std::uint32_t best = 2;
  for (unsigned depth = depth_; cand && depth; --depth) {
    const std::size_t c = cand - 1;
    if (c >= pos || c < oldest) return;
    const std::uint32_t* pair = Pair(cand);
    const unsigned char* there = buf + c;
    std::size_t len = std::min(lenSmaller, lenLarger);
    if (there[len] == cur[len]) {
      len = MatchEnd(cur, pos - c, len + 1, limit);
      if (len > best) {
        best = static_cast<std::uint32_t>(len);
        out.push_back({best, static_cast<std::uint32_t>(pos - c)});
      }
      if (len == limit) return;
    }
    if (there[len] < cur[len]) {
      cand = pair[1];
      lenSmaller = len;
    } else {
      cand = pair[0];
      lenLarger = len;
    }
  }
}

// The node's two subtrees joined into one, the newer root on top each step
// (every node of the smaller one sorts before every node of the larger).
void MatchTree::Remove(const unsigned char* buf, std::size_t pos, std::size_t oldest) {
  std::uint32_t& head = head_[Hash(buf + pos)];
  if (head != pos + 1) return;  // replaced by a later position, or cut off
  auto live = [&](std::uint32_t n) { return n != 0 && n - 1 < pos && n - 1 >= oldest ? n : 0; };
  std::uint32_t a = live(Pair(head)[0]), b = live(Pair(head)[1]);
  std::uint32_t* slot = &head;
  while (a && b) {
    if (a > b) {
      *slot = a;
      slot = Pair(a) + 1;
      a = live(*slot);
    } else {
      *slot = b;
      slot = Pair(b);
      b = live(*slot);
    }
  }
  *slot = a ? a : b;
}

std::size_t MatchTree::TakeOut(const unsigned char* buf, std::size_t from, std::size_t to) {
  const std::size_t oldest = to > Window() ? to - Window() : 0;
  for (std::size_t p = to; p-- > from;) Remove(buf, p, oldest);
  return oldest;
}

void MatchTree::Rebase(std::uint32_t cut) {
  for (std::uint32_t& p : head_) p = p > cut ? p - cut : 0;
  for (std::uint32_t& p : son_) p = p > cut ? p - cut : 0;
}

void MatchTree::Clear() { std::fill(head_.begin(), head_.end(), 0); }
