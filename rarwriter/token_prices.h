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
  unsigned Repeat(unsigned rep, std::uint32_t length) const;
  // A new distance's part of a match's price, and its length's part.
  unsigned Distance(std::uint32_t dist) const;
  unsigned Length(std::uint32_t length, std::uint32_t dist) const;

 private:
  struct Table {
    std::vector<std::uint32_t> count;
    std::vector<std::uint8_t> bits;
    explicit Table(unsigned size);
  };
  Table main_, dist_, lowDist_, repLen_;
  void Update();
  std::uint32_t counted_ = 0, sinceUpdate_ = 0;
};
