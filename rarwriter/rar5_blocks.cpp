#include "rarwriter/rar5_blocks.h"

#include <algorithm>
#include <cstdint>

#include "rarwriter/huffman.h"
#include "rarwriter/rar5_symbols.h"

namespace {

constexpr unsigned kLengthSize = 20;  // the table that codes the tables
constexpr unsigned kFilterE8E9 = 2;
constexpr unsigned kMaxBits = 15;
// Tokens are weighed in units of 1K: each joins the block before it unless
// tables of its own save more than they cost (units of 512 and 2K did no
// better); on a tree of headers and libraries 0.8% smaller than blocks of
// 4K tokens each with its tables.
constexpr std::ptrdiff_t kUnitTokens = 1 << 10;
// Keeps a block's data within the three bytes of its size field.
constexpr std::ptrdiff_t kMaxBlockTokens = 1 << 16;
constexpr std::uint64_t kBlockHeaderBits = 40;  // flags, check, size
// Tables that code every symbol are sent when they cost at most this much
// more than fitted ones; a symbol a block does not use counts as this many
// times rarer than one it uses once. With the held tables (below), solid:
// 10,000 files of 900 bytes 5% smaller; 26 source files of 3 KB 1.7%; a
// tree of 2,500 headers and libraries the same (5 KB smaller of 11 MB).
constexpr std::uint64_t kBroadMarginBits = 128;
constexpr std::uint32_t kBroadScale = 32;

struct Table {
  std::vector<std::uint32_t> freq;
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
  explicit Table(unsigned size) : freq(size, 0) {}
  // The code lengths alone weigh a choice of blocks; the codes are made
  // only for the blocks written.
  void Fit() { lengths = HuffmanLengths(freq, kMaxBits); }
  void Build() {
    Fit();
    codes = CanonicalCodes(lengths);
  }
  void Put(BitWriter& out, unsigned symbol) const { out.Put(codes[symbol], lengths[symbol]); }
};

struct Tables {
  Table main{kRar5MainSize}, dist{kRar5DistSize}, lowDist{kRar5LowDistSize}, repLen{kRar5RepLenSize};
};
// The four tables in the order their lengths are sent.
constexpr Table Tables::*kTableParts[] = {&Tables::main, &Tables::dist, &Tables::lowDist, &Tables::repLen};

// Calls `sym(table, symbol)` and `raw(value, bits)` for one token, in
// stream order: one walk serves both the counting and the writing.
template <typename T, typename Sym, typename Raw>
void WalkToken(const LzToken& t, T& tables, Sym sym, Raw raw) {
  if (t.dist == 0) {
    sym(tables.main, t.length);
    return;
  }
  if (t.dist == kFilterToken) {
    // Where the block starts (here: 0 bytes on) and how long it is, each
    // as a count of bytes less one (2 bits) and those bytes, low first.
    sym(tables.main, kRar5FilterSymbol);
    for (std::uint32_t v : {0u, t.length}) {
      unsigned bytes = 1;
      while (bytes < 4 && (v >> (8 * bytes)) != 0) ++bytes;
      raw(bytes - 1, 2);
      for (unsigned i = 0; i < bytes; ++i) raw((v >> (8 * i)) & 0xFF, 8);
    }
    raw(kFilterE8E9, 3);
    return;
  }
  if (t.rep == kRepeatLast) {
    sym(tables.main, kRar5RepeatLastSymbol);
    return;
  }
  if (t.rep) {
    sym(tables.main, kRar5FirstRepeat + t.rep - 1);
    const Rar5Slot len = Rar5LengthSlot(t.length - 2);
    sym(tables.repLen, len.slot);
    if (len.bits) raw(len.extra, len.bits);
    return;
  }
  const Rar5Slot len = Rar5LengthSlot(t.length - Rar5LengthBonus(t.dist) - 2);
  sym(tables.main, kRar5FirstMatch + len.slot);
  if (len.bits) raw(len.extra, len.bits);
  const Rar5Slot dist = Rar5DistSlot(t.dist - 1);
  sym(tables.dist, dist.slot);
  if (dist.bits >= 4) {
    if (dist.bits > 4) raw(dist.extra >> 4, dist.bits - 4);
    sym(tables.lowDist, dist.extra & 15);
  } else if (dist.bits) {
    raw(dist.extra, dist.bits);
  }
}

// The code lengths of all four tables, run-length coded with the symbols
// 16/17 (repeat the previous length 3-10 / 11-138 times) and 18/19 (as many
// zeros), then themselves Huffman coded.
void PutTables(BitWriter& out, const Tables& t) {
  std::vector<std::uint8_t> all;
  for (auto part : kTableParts) all.insert(all.end(), (t.*part).lengths.begin(), (t.*part).lengths.end());
  struct Run {
    unsigned symbol, bits, extra;
  };
  std::vector<Run> runs;
  for (std::size_t i = 0; i < all.size();) {
    std::size_t n = 1;
    while (i + n < all.size() && all[i + n] == all[i] && n < 138) ++n;
    if (all[i] == 0 && n >= 3) {
      runs.push_back(n >= 11 ? Run{19, 7, static_cast<unsigned>(n - 11)} : Run{18, 3, static_cast<unsigned>(n - 3)});
      i += n;
      continue;
    }
    runs.push_back({all[i], 0, 0});
    std::size_t rep = 0;
    while (all[i] != 0 && i + 1 + rep < all.size() && all[i + 1 + rep] == all[i] && rep < 138) ++rep;
    if (rep >= 3) {
      runs.push_back(rep >= 11 ? Run{17, 7, static_cast<unsigned>(rep - 11)}
                               : Run{16, 3, static_cast<unsigned>(rep - 3)});
      i += 1 + rep;
    } else {
      ++i;
    }
  }
  Table lengths(kLengthSize);
  for (const Run& r : runs) ++lengths.freq[r.symbol];
  lengths.Build();
  // The 20 lengths as nibbles; 15 is an escape: 15 0 is the length 15,
  // 15 n is n + 2 zero lengths.
  for (unsigned i = 0; i < kLengthSize;) {
    const unsigned l = lengths.lengths[i];
    unsigned zeros = 0;
    while (l == 0 && i + zeros < kLengthSize && lengths.lengths[i + zeros] == 0 && zeros < 17) ++zeros;
    if (zeros >= 3) {
      out.Put(15, 4);
      out.Put(zeros - 2, 4);
      i += zeros;
      continue;
    }
    out.Put(l, 4);
    if (l == 15) out.Put(0, 4);
    ++i;
  }
  for (const Run& r : runs) {
    lengths.Put(out, r.symbol);
    if (r.bits) out.Put(r.extra, r.bits);
  }
}

void Count(const LzToken* begin, const LzToken* end, Tables& tables) {
  for (const LzToken* t = begin; t != end; ++t)
    WalkToken(
        *t, tables, [](Table& table, unsigned s) { ++table.freq[s]; }, [](std::uint32_t, unsigned) {});
}

// Counts evened out over stretches of four or more similar ones (each
// within `spread`, or `spread` sixteenths, of the stretch's average), so
// that their code lengths come out alike and the run-length coded tables
// shorter; a used symbol keeps a count, an unused one none.
std::vector<std::uint32_t> EvenCounts(const std::vector<std::uint32_t>& freq, unsigned spread) {
  std::vector<std::uint32_t> even(freq);
  for (std::size_t start = 0; start < freq.size();) {
    std::uint64_t sum = freq[start];
    std::size_t end = start + 1;
    for (; end < freq.size() && (freq[end] != 0) == (freq[start] != 0); ++end) {
      const std::uint64_t n = end - start, scaled = std::uint64_t{freq[end]} * n;
      if ((scaled > sum ? scaled - sum : sum - scaled) > std::max<std::uint64_t>(spread * n, sum * spread / 16)) break;
      sum += freq[end];
    }
    if (freq[start] && end - start >= 4)
      std::fill(even.begin() + static_cast<std::ptrdiff_t>(start), even.begin() + static_cast<std::ptrdiff_t>(end),
                static_cast<std::uint32_t>(std::max<std::uint64_t>(1, (sum + (end - start) / 2) / (end - start))));
    start = end;
  }
  return even;
}

// The bits of the tables and of the symbols coded with the lengths they hold.
std::uint64_t Bits(const Tables& tables) {
  std::uint64_t bits = 0;
  for (auto part : kTableParts) {
    const Table& table = tables.*part;
    for (std::size_t s = 0; s < table.freq.size(); ++s) bits += std::uint64_t{table.freq[s]} * table.lengths[s];
  }
  BitWriter header;
  PutTables(header, tables);
  return bits + header.BitCount();
}

// The tables with the lengths fitted to `counts(freq)` instead of to the
// counts themselves.
template <typename Counts>
Tables Refitted(const Tables& tables, Counts counts) {
  Tables refitted = tables;
  for (auto part : kTableParts) (refitted.*part).lengths = HuffmanLengths(counts((refitted.*part).freq), kMaxBits);
  return refitted;
}

// The bits of the tables and of the symbols coded with them (the extra bits
// are the same however the tokens fall into blocks); fits the lengths to the
// counts, or to the counts evened out when that costs less (on a tree of
// headers and libraries 0.2% smaller, files alone and solid alike).
std::uint64_t Cost(Tables& tables) {
  for (auto part : kTableParts) (tables.*part).Fit();
  std::uint64_t best = Bits(tables);
  for (unsigned spread : {4, 8}) {
    Tables even = Refitted(tables, [&](const std::vector<std::uint32_t>& freq) { return EvenCounts(freq, spread); });
    const std::uint64_t bits = Bits(even);
    if (bits >= best) continue;
    best = bits;
    tables = std::move(even);
  }
  return best;
}

Tables Sum(const Tables& a, const Tables& b) {
  Tables sum = a;
  for (auto part : kTableParts)
    for (std::size_t s = 0; s < (sum.*part).freq.size(); ++s) (sum.*part).freq[s] += (b.*part).freq[s];
  return sum;
}

// A stretch of tokens with the tables fitted to it (or held from before).
struct Block {
  const LzToken *begin, *end;
  Tables tables;
  std::uint64_t cost;
  std::size_t unpacked;
  bool sendTables = true;
};

// The block coded with the tables the reader holds, when that costs fewer
// bits than its own: many small files of a solid stream each make a block
// of a few hundred tokens, whose tables would be a tenth of it.
void UseHeld(Block& block, const std::vector<std::uint8_t>& held) {
  if (held.empty()) return;
  std::uint64_t bits = 0;
  std::size_t at = 0;
  for (auto part : kTableParts) {
    const Table& table = block.tables.*part;
    for (std::size_t s = 0; s < table.freq.size(); ++s, ++at) {
      if (table.freq[s] && !held[at]) return;  // a symbol the held tables cannot code
      bits += std::uint64_t{table.freq[s]} * held[at];
    }
  }
  if (bits >= block.cost) return;
  at = 0;
  for (auto part : kTableParts) {
    std::vector<std::uint8_t>& lengths = (block.tables.*part).lengths;
    lengths.assign(held.begin() + static_cast<std::ptrdiff_t>(at),
                   held.begin() + static_cast<std::ptrdiff_t>(at + lengths.size()));
    at += lengths.size();
  }
  block.sendTables = false;
}

// The block the reader's next file may code with these tables (a solid
// stream's file's last) gets tables that code every symbol when they cost
// it at most a few bytes more than tables fitted to it: the next file, when
// small, then often needs none of its own.
void Broaden(Block& block) {
  Tables broad = Refitted(block.tables, [](std::vector<std::uint32_t> freq) {
    for (std::uint32_t& f : freq) f = f ? f * kBroadScale : 1;
    return freq;
  });
  if (Bits(broad) <= block.cost + kBroadMarginBits) block.tables = std::move(broad);
}

void PutBlock(std::string& out, Block& block, bool last, std::vector<std::uint8_t>* held) {
  for (auto part : kTableParts) (block.tables.*part).codes = CanonicalCodes((block.tables.*part).lengths);
  BitWriter bits;
  if (block.sendTables) PutTables(bits, block.tables);
  if (held) {
    held->clear();
    for (auto part : kTableParts)
      held->insert(held->end(), (block.tables.*part).lengths.begin(), (block.tables.*part).lengths.end());
  }
  for (const LzToken* t = block.begin; t != block.end; ++t)
    WalkToken(
        *t, block.tables, [&](const Table& table, unsigned s) { table.Put(bits, s); },
        [&](std::uint32_t v, unsigned n) { bits.Put(v, n); });
  const unsigned lastBits = static_cast<unsigned>((bits.BitCount() + 7) % 8) + 1;  // bits used in the last byte
  const std::string data = bits.Finish();
  const std::uint32_t size = static_cast<std::uint32_t>(data.size());
  const unsigned sizeBytes = size < 0x100 ? 1 : size < 0x10000 ? 2 : 3;
  // Flags: tables present, last block, size field bytes - 1, used bits - 1.
  const unsigned flags = (block.sendTables ? 0x80 : 0) | (last ? 0x40 : 0) | (sizeBytes - 1) << 3 | (lastBits - 1);
  const unsigned check = 0x5A ^ flags ^ (size & 0xFF) ^ ((size >> 8) & 0xFF) ^ ((size >> 16) & 0xFF);
  out += static_cast<char>(flags);
  out += static_cast<char>(check & 0xFF);
  for (unsigned i = 0; i < sizeBytes; ++i) out += static_cast<char>((size >> (8 * i)) & 0xFF);
  out += data;
}

std::size_t Unpacked(const LzToken& t) { return t.dist == 0 ? 1 : t.dist == kFilterToken ? 0 : t.length; }

}  // namespace

// Units of tokens are joined into one block while one set of tables for
// both costs fewer bits than a set each.
void EncodeRar5Blocks(const std::vector<LzToken>& tokens, std::size_t window, bool last, std::string& out,
                      std::vector<std::uint8_t>* held) {
  Block block{nullptr, nullptr, {}, 0, 0};
  auto put = [&](Block& b, bool final) {
    if (held && b.begin == tokens.data()) UseHeld(b, *held);
    if (held && final && b.sendTables) Broaden(b);
    PutBlock(out, b, final && last, held);
  };
  for (std::size_t at = 0; at < tokens.size();) {
    Block unit{tokens.data() + at, tokens.data() + at, {}, 0, 0};
    for (; unit.end != tokens.data() + tokens.size() && unit.end - unit.begin < kUnitTokens; ++unit.end) {
      if (unit.unpacked + Unpacked(*unit.end) > window / 2) break;
      unit.unpacked += Unpacked(*unit.end);
    }
    Count(unit.begin, unit.end, unit.tables);
    unit.cost = Cost(unit.tables);
    at = static_cast<std::size_t>(unit.end - tokens.data());
    if (block.begin) {
      if (block.unpacked + unit.unpacked <= window / 2 && unit.end - block.begin <= kMaxBlockTokens) {
        Tables joined = Sum(block.tables, unit.tables);
        const std::uint64_t cost = Cost(joined);
        if (cost <= block.cost + unit.cost + kBlockHeaderBits) {
          block.end = unit.end;
          block.tables = std::move(joined);
          block.cost = cost;
          block.unpacked += unit.unpacked;
          continue;
        }
      }
      put(block, false);
    }
    block = std::move(unit);
  }
  if (block.begin) put(block, true);
}
