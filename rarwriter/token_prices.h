#pragma once
// What a token costs in bits, as the block writer will code it: the code
// lengths the recent tokens' symbols would get, plus the extra bits.
#include <cstdint>
#include <vector>

#include "rarwriter/rar5_symbols.h"

class TokenPrices {
 public:
  TokenPrices();
  // Counts the symbols of a token the coder chose.
  void Count(const LzToken& t);
  // New prices from the counts, once enough tokens were counted since the
  // last; older counts weigh less and less.
  void Refresh();

  unsigned Literal(unsigned char byte) const { return main_.bits[byte]; }
  unsigned Repeat(unsigned rep, std::uint32_t length) const {
    const std::uint32_t v = length - 2;
    return main_.bits[kRar5FirstRepeat + rep - 1] + (v < kListed ? repeatLength_[v] : RepeatLength(v));
  }
  unsigned RepeatLast() const { return main_.bits[kRar5RepeatLastSymbol]; }
  // A new distance's part of a match's price, and its length's part.
  unsigned Distance(std::uint32_t dist) const;
  unsigned Length(std::uint32_t length, std::uint32_t dist) const {
    const std::uint32_t v = length - Rar5LengthBonus(dist) - 2;
    return v < kListed ? matchLength_[v] : MatchLength(v);
  }

 private:
  // The parser prices every length of every match: the shorter ones are
  // looked up, by the length as the reader gets it (less two, less the
  // distance's bonus).
  static constexpr std::uint32_t kListed = 256;
  unsigned RepeatLength(std::uint32_t v) const;
  unsigned MatchLength(std::uint32_t v) const;
  std::uint16_t repeatLength_[kListed], matchLength_[kListed];
  struct Table {
    std::vector<std::uint32_t> count;
    std::vector<std::uint8_t> bits;
    explicit Table(unsigned size);
  };
  Table main_, dist_, lowDist_, repLen_;
  void Update();
  std::uint32_t counted_ = 0, sinceUpdate_ = 0;
};
