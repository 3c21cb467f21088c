#include "mksetup/page_align.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kPage = 4096;

std::uint32_t Read16(const std::string& s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}

std::uint32_t Read32(const std::string& s, std::size_t at) { return Read16(s, at) | Read16(s, at + 2) << 16; }

void Write32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

// The image checksum (as the system's CheckSumMappedFile): 16-bit words
// added with end-around carry, the checksum field left out, plus the length.
std::uint32_t ImageChecksum(const std::string& image, std::size_t field) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < image.size(); i += 2) {
    if (i == field || i == field + 2) continue;
    sum += i + 1 < image.size() ? Read16(image, i) : static_cast<unsigned char>(image[i]);
    sum = (sum & 0xffff) + (sum >> 16);
  }
  return ((sum & 0xffff) + (sum >> 16)) + static_cast<std::uint32_t>(image.size());
}

// Where the headers of a readable image are.
struct Layout {
  std::size_t pe = 0;
  std::size_t optional = 0;     // the optional header
  std::size_t directories = 0;  // the data directories
  std::uint32_t count = 0;      // of data directories
  std::size_t table = 0;        // the section table
  std::uint32_t sections = 0;
};

bool ReadLayout(const std::string& image, Layout& out) {
  const std::size_t size = image.size();
  if (size < 0x40 || image.compare(0, 2, "MZ") != 0) return false;
  out.pe = Read32(image, 0x3c);
  if (out.pe > size || size - out.pe < 24 || image.compare(out.pe, 4, std::string("PE\0\0", 4)) != 0) return false;
  out.sections = Read16(image, out.pe + 6);
  out.optional = out.pe + 24;
  const std::size_t optionalSize = Read16(image, out.pe + 20);
  out.table = out.optional + optionalSize;
  if (optionalSize < 2 || out.table > size || (size - out.table) / 40 < out.sections) return false;
  const std::uint32_t magic = Read16(image, out.optional);
  if (magic != 0x10b && magic != 0x20b) return false;
  out.directories = out.optional + (magic == 0x10b ? 96 : 112);
  if (out.directories > out.table) return false;
  out.count = Read32(image, out.directories - 4);
  if (out.count > 16 || out.directories + 8 * out.count > out.table) return false;
  for (std::uint32_t i = 0; i < out.sections; ++i) {
    const std::size_t header = out.table + 40 * i;
    const std::uint32_t rawSize = Read32(image, header + 16);
    const std::uint32_t raw = Read32(image, header + 20);
    if (rawSize != 0 && (raw > size || size - raw < rawSize)) return false;
  }
  return true;
}

}  // namespace

bool IsReadableImage(const std::string& image) {
  Layout layout;
  return ReadLayout(image, layout);
}

bool AlignResourceData(std::string& image) {
  Layout layout;
  if (!ReadLayout(image, layout)) return false;
  const std::size_t pe = layout.pe, optional = layout.optional, directories = layout.directories, table = layout.table;
  const std::uint32_t sections = layout.sections, count = layout.count;
  if (Read32(image, pe + 12) != 0) return false;  // a symbol table
  const std::uint32_t fileAlignment = Read32(image, optional + 36);
  for (std::uint32_t d : {4u, 6u})  // the certificate and debug directories
    if (d < count && Read32(image, directories + 8 * d + 4) != 0) return false;

  std::size_t rsrc = 0;
  bool found = false;
  for (std::uint32_t i = 0; i < sections; ++i) {
    const std::size_t header = table + 40 * i;
    if (Read32(image, header + 24) != 0 || Read32(image, header + 28) != 0) return false;  // COFF relocations
    if (image.compare(header, 8, std::string(".rsrc\0\0\0", 8)) == 0) {
      rsrc = Read32(image, header + 20);
      found = true;
    }
  }
  if (!found || rsrc == 0 || rsrc > image.size()) return false;
  const std::size_t pad = (kPage - rsrc % kPage) % kPage;
  if (pad == 0) return true;
  if (fileAlignment == 0 || pad % fileAlignment != 0) return false;
  for (std::uint32_t i = 0; i < sections; ++i) {
    const std::size_t header = table + 40 * i;
    const std::uint32_t raw = Read32(image, header + 20);
    if (raw >= rsrc && Read32(image, header + 16) != 0)
      Write32(image, header + 20, raw + static_cast<std::uint32_t>(pad));
  }
  image.insert(rsrc, pad, '\0');
  if (Read32(image, optional + 64) != 0) Write32(image, optional + 64, ImageChecksum(image, optional + 64));
  return true;
}
