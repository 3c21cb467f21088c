#include "rarwriter/lz_matcher.h"

#include <algorithm>
#include <limits>

namespace {

// The stretch priced as a whole; a path is chosen at its end.
constexpr std::size_t kStretch = 4096;
constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();

}  // namespace

LzMatcher::LzMatcher(unsigned dictBits, LzEffort effort, std::size_t sizeHint, TokenPrices& prices)
    : effort_(effort),
      dict_(std::size_t{1} << dictBits),
      maxDist_(static_cast<std::uint32_t>(dict_ - 16)),
      finder_(dict_, sizeHint, effort.depth, effort.treeLength, effort.skip),
      prices_(prices),
      nodes_(kStretch + effort.nice + 1) {}

// The token, and the list of distances as the reader keeps it: a new
// distance goes first, a repeated one moves to the front; the last copy
// again changes neither the list nor the last length.
void LzMatcher::Distances::Take(const LzToken& t) {
  if (t.dist == 0 || t.dist == kFilterToken || t.rep == kRepeatLast) return;
  length = t.length;
  const unsigned from = t.rep ? t.rep - 1 : std::min(known, 3u);
  for (unsigned i = from; i > 0; --i) last[i] = last[i - 1];
  last[0] = t.dist;
  if (!t.rep && known < 4) ++known;
}

void LzMatcher::Trim() {
  if (buf_.size() < 2 * dict_) return;
  const std::size_t cut = (buf_.size() - dict_) / dict_ * dict_;
  buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(cut));
  if (cut > pieceIndexed_) pieceCut_ = true;
  for (std::size_t* p : {&pieceStart_, &pieceIndexed_, &indexed_, &floor_}) *p = *p > cut ? *p - cut : 0;
  finder_.Tree().Rebase(static_cast<std::uint32_t>(cut));
}

void LzMatcher::FindMatches(std::size_t pos, std::size_t end) {
  finder_.Matches(pos, end, matches_);
  const unsigned treeLength = finder_.Tree().TreeLength();
  if (!matches_.empty() && matches_.back().length == treeLength)
    matches_.back().length = Extend(pos, end, matches_.back().dist, treeLength);
}

std::uint32_t LzMatcher::Extend(std::size_t pos, std::size_t end, std::uint32_t dist, std::uint32_t from) const {
  const std::size_t limit = std::min<std::size_t>(end - pos, kMaxLength);
  return static_cast<std::uint32_t>(MatchEnd(&buf_[pos], dist, from, limit));
}

void LzMatcher::Relax(std::size_t to, std::uint32_t price, std::uint32_t from, std::uint32_t reach,
                      const LzToken& token) {
  Node& n = nodes_[to];
  if (price < n.price) {
    n.price = price;
    n.from = from;
    n.reach = reach;
    n.token = token;
  }
}

// The cheapest path through the stretch from `pos`: every position's
// matches priced at every length. A match of `nice` bytes or more ends the
// stretch and is taken as it is.
std::size_t LzMatcher::Parse(std::size_t pos, std::size_t end, std::vector<LzToken>& out) {
  const std::size_t stretch = std::min(end - pos, kStretch);
  // Nodes are marked unreached only as far as a token from a position
  // before reaches: a long match often ends the stretch within a few
  // positions.
  std::size_t marked = 0;
  nodes_[0].price = 0;
  nodes_[0].reach = 0;
  nodes_[0].distances = distances_;
  std::size_t i = 0;
  for (; i < stretch; ++i) {
    Node& node = nodes_[i];
    if (i > 0) {
      node.distances = nodes_[node.from].distances;
      node.distances.Take(node.token);
    }
    const std::size_t p = pos + i;
    FindMatches(p, end);
    LzToken longest{0, 0};
    std::uint32_t repLength[4] = {};
    for (unsigned r = 0; r < node.distances.known; ++r) {
      const std::uint32_t dist = node.distances.last[r];
      if (dist > p || dist > maxDist_) continue;
      repLength[r] = Extend(p, end, dist, 0);
      if (repLength[r] > longest.length) longest = {dist, repLength[r], r + 1};
    }
    // A repeated distance is worth a byte of length.
    if (!matches_.empty() && matches_.back().length > longest.length + 1)
      longest = {matches_.back().dist, matches_.back().length, 0};
    if (longest.length >= effort_.nice) {
      if (longest.rep == 1 && longest.length == node.distances.length &&
          prices_.RepeatLast() < prices_.Repeat(1, longest.length))
        longest.rep = kRepeatLast;
      Emit(i, &longest, out);
      return p + longest.length;
    }
    const std::size_t farthest =
        i + std::max({1u, longest.length, matches_.empty() ? 0u : matches_.back().length});
    for (; marked < farthest; ++marked) nodes_[marked + 1].price = kUnreached;
    const std::uint32_t base = node.price;
    const std::uint32_t from = static_cast<std::uint32_t>(i);
    Relax(i + 1, base + prices_.Literal(buf_[p]), from, 0, {0, buf_[p]});
    // The last token's distance, now the list's first, is priced here only
    // beyond the lengths its token was priced at (a literal reaches 0).
    const std::uint32_t priced = node.reach > from ? node.reach - from : 0u;
    // Distances and lengths are copied before the loops that write nodes,
    // which the compiler would otherwise read them again after (6% of a
    // packing on one core).
    for (unsigned r = 0; r < 4; ++r) {
      const std::uint32_t dist = node.distances.last[r], length = repLength[r], reach = from + length;
      for (std::uint32_t l = r == 0 ? std::max(2u, priced + 1) : 2; l <= length; ++l)
        Relax(i + l, base + prices_.Repeat(r + 1, l), from, reach, {dist, l, r + 1});
    }
    const std::uint32_t lastLength = node.distances.length;
    if (lastLength && lastLength <= repLength[0] && lastLength > priced)
      Relax(i + lastLength, base + prices_.RepeatLast(), from, from + repLength[0],
            {node.distances.last[0], lastLength, kRepeatLast});
    std::uint32_t shorter = 2;
    for (const TreeMatch& m : matches_) {
      const std::uint32_t dist = m.dist, length = m.length;
      const std::uint32_t atDist = base + prices_.Distance(dist);
      const std::uint32_t first =
          std::max({shorter + 1, Rar5LengthBonus(dist) + 2, dist == node.distances.last[0] ? priced + 1 : 0u});
      for (std::uint32_t l = first; l <= length; ++l)
        Relax(i + l, atDist + prices_.Length(l, dist), from, from + length, {dist, l, 0});
      shorter = length;
    }
  }
  Emit(i, nullptr, out);
  return pos + i;
}

// The path's tokens up to `stop`, then `last` when given.
void LzMatcher::Emit(std::size_t stop, const LzToken* last, std::vector<LzToken>& out) {
  path_.clear();
  if (last) path_.push_back(*last);
  for (std::size_t i = stop; i > 0; i = nodes_[i].from) path_.push_back(nodes_[i].token);
  for (auto t = path_.rbegin(); t != path_.rend(); ++t) {
    out.push_back(*t);
    distances_.Take(*t);
    prices_.Count(*t);
  }
  prices_.Refresh();
}

void LzMatcher::Encode(const unsigned char* data, std::size_t size, std::vector<LzToken>& out) {
  Trim();
  const std::size_t start = buf_.size();
  buf_.insert(buf_.end(), data, data + size);
  const std::size_t end = buf_.size();
  // A position goes into the trees once the bytes they order it by are
  // there; until then (a piece's last bytes) it is only searched.
  const std::size_t treeLength = finder_.Tree().TreeLength();
  finder_.Begin(buf_.data(), indexed_, std::max(indexed_, end >= treeLength ? end - treeLength + 1 : 0), floor_,
                maxDist_);
  for (std::size_t pos = start; pos < end;) pos = Parse(pos, end, out);
  indexed_ = finder_.Finish();
}

void LzMatcher::StartPiece() {
  pieceStart_ = buf_.size();
  pieceIndexed_ = indexed_;
  pieceCut_ = false;
  pieceDistances_ = distances_;
}

// What stays is what the reader has: the positions the piece's bytes went
// into the tree with come out again (newest first), to be indexed anew with
// the next piece's bytes; with part of the history trimmed away, nothing
// stays.
void LzMatcher::DropPiece() {
  if (pieceCut_) {
    buf_.clear();
    finder_.Tree().Clear();
    indexed_ = floor_ = 0;
  } else {
    floor_ = std::max(floor_, finder_.Tree().TakeOut(buf_.data(), pieceIndexed_, indexed_));
    indexed_ = pieceIndexed_;
    buf_.resize(pieceStart_);
  }
  distances_ = pieceDistances_;
}
