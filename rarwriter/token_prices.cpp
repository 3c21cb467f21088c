#include "rarwriter/token_prices.h"

#include <algorithm>

#include "rarwriter/huffman.h"

namespace {
// Older counts are halved once this many tokens were counted since: prices
// follow the last few tens of thousands of tokens, as the blocks do.
constexpr std::uint32_t kHalfLife = 1 << 15;
constexpr unsigned kMaxBits = 15;
constexpr std::uint32_t kRefreshEvery = 4096;
}  // namespace

TokenPrices::Table::Table(unsigned size) : count(size, 0), bits(size, 0) {}

TokenPrices::TokenPrices()
    : main_(kRar5MainSize), dist_(kRar5DistSize), lowDist_(kRar5LowDistSize), repLen_(kRar5RepLenSize) {
  Update();
}

void TokenPrices::Count(const LzToken& t) {
  ++counted_;
  ++sinceUpdate_;
  if (t.dist == 0) {
    ++main_.count[t.length];
  } else if (t.rep == kRepeatLast) {
    ++main_.count[kRar5RepeatLastSymbol];
  } else if (t.rep) {
    ++main_.count[kRar5FirstRepeat + t.rep - 1];
    ++repLen_.count[Rar5LengthSlot(t.length - 2).slot];
  } else if (t.dist != kFilterToken) {
    ++main_.count[kRar5FirstMatch + Rar5LengthSlot(t.length - Rar5LengthBonus(t.dist) - 2).slot];
    const Rar5Slot d = Rar5DistSlot(t.dist - 1);
    ++dist_.count[d.slot];
    if (d.bits >= 4) ++lowDist_.count[d.extra & 15];
  }
}

void TokenPrices::Refresh() {
  if (sinceUpdate_ >= kRefreshEvery) Update();
}

// Each symbol counts one more than seen, so that none is priced out of
// reach for good.
void TokenPrices::Update() {
  for (Table* t : {&main_, &dist_, &lowDist_, &repLen_}) {
    std::vector<std::uint32_t> freq(t->count);
    for (std::uint32_t& f : freq) f = 2 * f + 1;
    t->bits = HuffmanLengths(freq, kMaxBits);
    if (counted_ >= kHalfLife)
      for (std::uint32_t& c : t->count) c /= 2;
  }
  if (counted_ >= kHalfLife) counted_ = 0;
  sinceUpdate_ = 0;
  for (std::uint32_t v = 0; v < kListed; ++v) {
    repeatLength_[v] = static_cast<std::uint16_t>(RepeatLength(v));
    matchLength_[v] = static_cast<std::uint16_t>(MatchLength(v));
  }
}

unsigned TokenPrices::RepeatLength(std::uint32_t v) const {
  const Rar5Slot len = Rar5LengthSlot(v);
  return repLen_.bits[len.slot] + len.bits;
}

unsigned TokenPrices::MatchLength(std::uint32_t v) const {
  const Rar5Slot len = Rar5LengthSlot(v);
  return main_.bits[kRar5FirstMatch + len.slot] + len.bits;
}

unsigned TokenPrices::Distance(std::uint32_t dist) const {
  const Rar5Slot d = Rar5DistSlot(dist - 1);
  return dist_.bits[d.slot] + (d.bits >= 4 ? d.bits - 4 + lowDist_.bits[d.extra & 15] : d.bits);
}
