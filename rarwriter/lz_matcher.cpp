#include "rarwriter/lz_matcher.h"

#include <algorithm>

namespace {

// The shortest match worth its distance: the reader adds up to 3 to the
// length of far matches, so they must be longer to be encodable at all.
std::uint32_t MinLength(std::uint32_t dist) {
  if (dist <= 0x800) return 3;
  if (dist <= 0x40000) return 4;
  return 5;
}

}  // namespace

LzMatcher::LzMatcher(unsigned dictBits, LzEffort effort, std::size_t sizeHint)
    : effort_(effort), dict_(std::size_t{1} << dictBits), maxDist_(dict_ - 16) {
  // Hash table about the size of what it indexes, 4K to 1M heads.
  unsigned bits = 12;
  while (bits < 20 && (std::size_t{1} << bits) < std::min(sizeHint, dict_)) ++bits;
  hashShift_ = 32 - bits;
  head_.assign(std::size_t{1} << bits, 0);
  prev_.assign(dict_, 0);
}

std::uint32_t LzMatcher::Hash(std::size_t pos) const {
  const std::uint32_t v = buf_[pos] | buf_[pos + 1] << 8 | static_cast<std::uint32_t>(buf_[pos + 2]) << 16;
  return (v * 2654435761u) >> hashShift_;
}

void LzMatcher::Insert(std::size_t pos) {
  std::uint32_t& h = head_[Hash(pos)];
  prev_[pos & (dict_ - 1)] = h;
  h = static_cast<std::uint32_t>(pos + 1);
}

LzMatcher::Match LzMatcher::Find(std::size_t pos, std::size_t end, std::uint32_t better) const {
  Match best;
  best.length = better;
  const std::size_t limit = std::min<std::size_t>(end - pos, kMaxLength);
  const unsigned char* here = &buf_[pos];
  std::uint32_t cand = head_[Hash(pos)];
  for (unsigned chain = effort_.chain; cand && chain; --chain) {
    const std::size_t c = cand - 1;
    // Heads left behind by a dropped piece point at or past `pos`.
    if (c >= pos || pos - c > maxDist_) break;
    const unsigned char* there = &buf_[c];
    if (best.length < limit && there[best.length] == here[best.length] && there[0] == here[0]) {
      std::size_t len = 0;
      while (len < limit && there[len] == here[len]) ++len;
      const std::uint32_t dist = static_cast<std::uint32_t>(pos - c);
      if (len > best.length && len >= MinLength(dist)) {
        best.length = static_cast<std::uint32_t>(len);
        best.dist = dist;
        if (len >= effort_.nice || len == limit) break;
      }
    }
    const std::uint32_t next = prev_[c & (dict_ - 1)];
    if (next == 0 || next - 1 >= c) break;  // chains only go back; a reused slot ends them
    cand = next;
  }
  if (best.dist == 0) best.length = 0;
  return best;
}

LzMatcher::Match LzMatcher::FindRepeat(std::size_t pos, std::size_t end) const {
  Match best;
  const std::size_t limit = std::min<std::size_t>(end - pos, kMaxLength);
  const unsigned char* here = &buf_[pos];
  for (unsigned i = 0; i < distances_.known; ++i) {
    const std::uint32_t dist = distances_.last[i];
    if (dist > pos || dist > maxDist_) continue;
    const unsigned char* there = here - dist;
    std::size_t len = 0;
    while (len < limit && there[len] == here[len]) ++len;
    if (len >= 2 && len > best.length) best = {static_cast<std::uint32_t>(len), dist, i + 1};
  }
  return best;
}

// The token, and the list of distances as the reader keeps it: a new
// distance goes first, a repeated one moves to the front.
void LzMatcher::Emit(const Match& m, std::vector<LzToken>& out) {
  out.push_back({m.dist, m.length, m.rep});
  Distances& d = distances_;
  const unsigned from = m.rep ? m.rep - 1 : std::min(d.known, 3u);
  for (unsigned i = from; i > 0; --i) d.last[i] = d.last[i - 1];
  d.last[0] = m.dist;
  if (!m.rep && d.known < 4) ++d.known;
}

void LzMatcher::Trim() {
  if (buf_.size() < 2 * dict_) return;
  const std::size_t cut = (buf_.size() - dict_) / dict_ * dict_;
  buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(cut));
  if (cut > pieceStart_) pieceCut_ = true;
  pieceStart_ = cut > pieceStart_ ? 0 : pieceStart_ - cut;
  const std::uint32_t k = static_cast<std::uint32_t>(cut);
  for (std::uint32_t& p : head_) p = p > k ? p - k : 0;
  for (std::uint32_t& p : prev_) p = p > k ? p - k : 0;
}

void LzMatcher::Encode(const unsigned char* data, std::size_t size, std::vector<LzToken>& out) {
  Trim();
  const std::size_t start = buf_.size();
  buf_.insert(buf_.end(), data, data + size);
  const std::size_t end = buf_.size();
  std::size_t pos = start;
  Match pending;  // the match found at pos - 1, not yet taken
  while (pos < end) {
    Match cur;
    if (end - pos >= 3) {
      if (pending.length < effort_.lazy) cur = Find(pos, end, pending.length);
      Insert(pos);
    }
    // A repeated distance costs no distance bits: worth a byte of length,
    // two against a far one.
    if (end - pos >= 2) {
      const Match repeat = FindRepeat(pos, end);
      if (repeat.length && repeat.length + 1 + (cur.dist > 0x10000) >= std::max(cur.length, pending.length + 1))
        cur = repeat;
    }
    if (pending.length && cur.length <= pending.length) {
      Emit(pending, out);
      const std::size_t stop = pos - 1 + pending.length;
      for (++pos; pos < stop; ++pos)
        if (end - pos >= 3) Insert(pos);
      pending = Match();
      continue;
    }
    if (pending.length) out.push_back({0, buf_[pos - 1]});
    pending = cur;
    if (!pending.length) out.push_back({0, buf_[pos]});
    ++pos;
  }
  if (pending.length) Emit(pending, out);
}

void LzMatcher::StartPiece() {
  pieceStart_ = buf_.size();
  pieceCut_ = false;
  pieceDistances_ = distances_;
}

// What stays is what the reader has; with part of it trimmed away nothing
// stays (the tables' positions are checked against the bytes anyway).
void LzMatcher::DropPiece() {
  buf_.resize(pieceCut_ ? 0 : pieceStart_);
  distances_ = pieceDistances_;
}
