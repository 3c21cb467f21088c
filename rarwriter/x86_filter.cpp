#include "rarwriter/x86_filter.h"

namespace {

constexpr std::uint32_t kFileSize = 0x1000000;  // the reader's modulus for offsets

std::uint32_t Get32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Calls `change(address field, its offset in the file)` where the reader
// looks: after each E8 or E9 byte, skipping the four address bytes, up to
// four bytes before the block's end.
template <typename Change>
void EachAddress(unsigned char* data, std::size_t size, std::uint32_t fileOffset, Change change) {
  if (size < 5) return;
  for (std::size_t i = 0; i < size - 4;) {
    const unsigned char b = data[i++];
    if (b != 0xE8 && b != 0xE9) continue;
    change(data + i, static_cast<std::uint32_t>((i + fileOffset) % kFileSize));
    i += 4;
  }
}

}  // namespace

bool IsX86Image(const std::string& data) {
  if (data.size() < 0x40 || data.compare(0, 2, "MZ") != 0) return false;
  const std::uint32_t pe = Get32(reinterpret_cast<const unsigned char*>(data.data()) + 0x3c);
  if (pe > data.size() || data.size() - pe < 6 || data.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return false;
  const unsigned machine = static_cast<unsigned char>(data[pe + 4]) | static_cast<unsigned char>(data[pe + 5]) << 8;
  return machine == 0x14c || machine == 0x8664;
}

// The reader takes an address E to E - offset when 0 <= E < 16 MB, to
// E + 16 MB when E < 0 <= E + offset, and keeps it otherwise; each original
// address D has exactly one of those three images.
void EncodeX86Block(unsigned char* data, std::size_t size, std::uint32_t fileOffset) {
  EachAddress(data, size, fileOffset, [](unsigned char* field, std::uint32_t offset) {
    const std::int64_t d = static_cast<std::int32_t>(Get32(field));
    const std::int64_t o = offset;
    if (d >= -o && d < kFileSize - o) {
      Put32(field, static_cast<std::uint32_t>(d + o));
    } else if (d >= kFileSize - o && d < kFileSize) {
      Put32(field, static_cast<std::uint32_t>(d - kFileSize));
    }
  });
}

void DecodeX86Block(unsigned char* data, std::size_t size, std::uint32_t fileOffset) {
  EachAddress(data, size, fileOffset, [](unsigned char* field, std::uint32_t offset) {
    const std::uint32_t e = Get32(field);
    if (e & 0x80000000) {
      if (((e + offset) & 0x80000000) == 0) Put32(field, e + kFileSize);
    } else if ((e - kFileSize) & 0x80000000) {
      Put32(field, e - offset);
    }
  });
}
