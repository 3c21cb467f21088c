#include "rarwriter/entry_packer.h"

#include <algorithm>
#include <vector>

#include "rarwriter/rar5_blocks.h"
#include "rarwriter/rar_format.h"
#include "rarwriter/x86_filter.h"

namespace {

// The compression field: format version 0 (bits 0-5), solid, method, window.
constexpr std::uint64_t kMethodNormal = 3;

std::uint64_t CompressionInfo(bool compressed, bool solid, unsigned dictBits) {
  return (solid ? kRar5SolidCompression : 0) | (compressed ? kMethodNormal << kRar5MethodShift : 0) |
         static_cast<std::uint64_t>(dictBits - EntryPacker::kMinDictBits) << kRar5WindowShift;
}

// How hard the coder looks. A solid stream visits fewer tree nodes per
// position, and leaves shorter repeats out of them: its trees hold many
// similar files. Measured on a tree of headers and libraries (169 MB, solid,
// two cores): depth 20 and repeats from 48 bytes instead of depth 48 and
// 64 bytes is 1.2% larger for a fifth less time (the whole tree well
// within half a minute); taking matches and ordering the trees at 64 bytes
// instead of 96 is 0.7% larger for a twentieth less.
// Both price matches up to 224 bytes before one is taken at once (import
// libraries repeat members of about that length, each a little different):
// files alone 0.9% smaller than at 96, for 14% more time, a solid stream
// 1.6% for a tenth more; at 256, 1.1% for 40% more (files alone).
const LzEffort kFileEffort{48, 96, 224, 64};
const LzEffort kStreamEffort{20, 96, 224, 48};
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
constexpr std::size_t kMaxFilterBlock = 0x400000;

// Twice the file's (or stream's) size, so that it fits into one block.
unsigned FileDictBits(std::uint64_t size, unsigned maxBits) {
  unsigned bits = EntryPacker::kMinDictBits;
  while (bits < maxBits && (std::uint64_t{1} << (bits - 1)) < size) ++bits;
  return bits;
}

unsigned ClampedBits(unsigned dictBits) {
  return std::min(std::max(dictBits, EntryPacker::kMinDictBits), EntryPacker::kMaxDictBits);
}

// A program or library is filtered as one block: the readers allow a block
// of at most 4 MB and half the window, and libarchive's check of a block's
// start, which it does not reset between files, takes a later file's filter
// only when every earlier block started at its file's start.
bool FilterFile(const std::string& data, std::size_t window) {
  return data.size() <= std::min<std::size_t>(kMaxFilterBlock, window / 2) && IsX86Image(data);
}

}  // namespace

EntryPacker::EntryPacker(RarPacking packing, unsigned dictBits, std::uint64_t streamBytes)
    : packing_(packing), dictBits_(ClampedBits(dictBits)) {
  if (packing_ != RarPacking::kSolid) return;
  dictBits_ = FileDictBits(streamBytes, dictBits_);
  stream_ = std::make_unique<LzMatcher>(
      dictBits_, kStreamEffort, static_cast<std::size_t>(std::min<std::uint64_t>(streamBytes, 1 << 22)), prices_);
}

EntryPacker::~EntryPacker() = default;

bool EntryPacker::Pack(const std::string& data, std::string& packed, std::uint64_t& info) {
  const bool solid = packing_ == RarPacking::kSolid;
  const unsigned dictBits = solid ? dictBits_ : FileDictBits(data.size(), dictBits_);
  // A stored file of a solid stream names the stream's window, as readers
  // compare the windows of a stream's files.
  info = solid ? CompressionInfo(false, false, dictBits) : 0;
  packed.clear();
  if (packing_ == RarPacking::kStore || data.empty()) return false;

  const std::size_t window = std::size_t{1} << dictBits;
  std::string filtered;
  const bool filter = FilterFile(data, window);
  if (filter) {
    filtered = data;
    EncodeX86Block(reinterpret_cast<unsigned char*>(&filtered[0]), filtered.size(), 0);
  }
  // In pieces, so that the tokens of a large file never need much memory.
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(filter ? filtered.data() : data.data());
  std::unique_ptr<LzMatcher> alone;
  LzMatcher& matcher =
      solid ? *stream_ : *(alone = std::make_unique<LzMatcher>(dictBits, kFileEffort, data.size(), prices_));
  matcher.StartPiece();
  // A solid stream's file may be coded with the tables the reader holds
  // from the file before.
  std::vector<std::uint8_t>* held = solid ? &held_ : nullptr;
  const std::vector<std::uint8_t> heldBefore = held_;
  std::vector<LzToken> tokens;
  for (std::size_t at = 0; at < data.size();) {
    const std::size_t take = std::min(data.size() - at, kPieceBytes);
    tokens.clear();
    if (filter && at == 0) tokens.push_back({kFilterToken, static_cast<std::uint32_t>(data.size())});
    matcher.Encode(bytes + at, take, tokens);
    at += take;
    EncodeRar5Blocks(tokens, window, at == data.size(), packed, held);
  }
  if (packed.size() >= data.size()) {
    // Stored: in a solid archive its bytes never reach the readers' window,
    // nor its tables the reader.
    if (solid) {
      stream_->DropPiece();
      held_ = heldBefore;
    }
    packed.clear();
    return false;
  }
  // The first compressed file of a solid stream starts the readers' window.
  info = CompressionInfo(true, solid && streamStarted_, dictBits);
  if (solid) streamStarted_ = true;
  return true;
}

bool EntryPacker::CanRepeat(std::size_t size, unsigned dictBits) {
  return size >= kMinRepeatBytes && size <= std::size_t{1} << FileDictBits(size, ClampedBits(dictBits));
}

void EntryPacker::PackRepeat(const std::string& data, unsigned dictBits, std::string& packed, std::uint64_t& info) {
  const std::uint32_t size = static_cast<std::uint32_t>(data.size());
  const unsigned bits = FileDictBits(size, ClampedBits(dictBits));
  // The window holds the file before it as the coder left it, filtered or
  // not: the copy is filtered as that file was.
  std::vector<LzToken> tokens;
  if (FilterFile(data, std::size_t{1} << bits)) tokens.push_back({kFilterToken, size});
  for (std::uint32_t at = 0; at < size;) {
    std::uint32_t take = std::min(size - at, LzMatcher::kMaxLength);
    if (size - at - take == 1) --take;  // no copy of one byte: the next one takes two
    // The first copy names the distance; the rest repeat it from the list.
    tokens.push_back({size, take, at ? 1u : 0u});
    at += take;
  }
  packed.clear();
  EncodeRar5Blocks(tokens, std::size_t{1} << bits, true, packed);
  info = CompressionInfo(true, true, bits);
}
