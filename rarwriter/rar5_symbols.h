#pragma once
// How a RAR 5 block codes a token: the sizes of its four Huffman tables, the
// main table's symbols, and the slots that split lengths and distances into
// a symbol and extra bits. Shared by the block writer and the coder's prices.
#include <cstdint>

// A literal byte (dist 0) or a copy of `length` bytes from `dist` back; a
// copy may name its distance by its place in the reader's list of the last
// four distances (`rep` 1 to 4), which costs no distance bits, or be the
// last copy again (`rep` kRepeatLast: the list's first distance at the
// length of the last copy, one symbol).
struct LzToken {
  std::uint32_t dist;
  std::uint32_t length;  // the byte itself for a literal
  std::uint32_t rep = 0;
};
constexpr std::uint32_t kRepeatLast = 5;
// A token with this distance is no copy: it starts the x86 filter (E8E9)
// over the next `length` bytes.
constexpr std::uint32_t kFilterToken = 0xFFFFFFFF;

// The tables, in the order their lengths are sent: main (literals, filter,
// repeats, match lengths), distance slots, the low four bits of long
// distances, lengths of repeated distances.
constexpr unsigned kRar5MainSize = 306, kRar5DistSize = 64, kRar5LowDistSize = 16, kRar5RepLenSize = 44;
constexpr unsigned kRar5FilterSymbol = 256;
constexpr unsigned kRar5RepeatLastSymbol = 257;
constexpr unsigned kRar5FirstRepeat = 258;  // then the four repeated distances
constexpr unsigned kRar5FirstMatch = 262;   // main symbols from here are match lengths

struct Rar5Slot {
  unsigned slot, bits;
  std::uint32_t extra;
};

// A length as the reader splits it (four slots per power of two from 8 on).
inline Rar5Slot Rar5LengthSlot(std::uint32_t v) {
  if (v < 8) return {v, 0, 0};
  const unsigned top = 31 - static_cast<unsigned>(__builtin_clz(v));
  const unsigned bits = top - 2;
  return {(bits + 1) * 4 + ((v >> bits) & 3), bits, v & ((1u << bits) - 1)};
}

// A distance less one (two slots per power of two from 4 on).
inline Rar5Slot Rar5DistSlot(std::uint32_t d) {
  if (d < 4) return {d, 0, 0};
  const unsigned top = 31 - static_cast<unsigned>(__builtin_clz(d));
  const unsigned bits = top - 1;
  return {2 * (bits + 1) + ((d >> bits) & 1), bits, d & ((1u << bits) - 1)};
}

// What the reader adds to the length of a match at this distance.
inline std::uint32_t Rar5LengthBonus(std::uint32_t dist) { return (dist > 0x100) + (dist > 0x2000) + (dist > 0x40000); }
