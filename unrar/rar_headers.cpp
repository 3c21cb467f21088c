#include "unrar/rar_headers.h"

#include <cstring>

namespace {

const std::size_t kMaxHeader = 1 << 21;  // beyond any real header: damage

// Little-endian fields of one header held in memory.
class Fields {
 public:
  explicit Fields(std::string bytes) : b_(std::move(bytes)) {}
  bool ok() const { return ok_; }
  std::uint64_t Le(std::size_t n) {
    std::uint64_t v = 0;
    if (pos_ + n > b_.size()) return Fail();
    for (std::size_t i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(b_[pos_ + i])) << (8 * i);
    pos_ += n;
    return v;
  }
  std::uint64_t Vint() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (pos_ >= b_.size()) return Fail();
      const unsigned char c = static_cast<unsigned char>(b_[pos_++]);
      v |= static_cast<std::uint64_t>(c & 0x7F) << shift;
      if (!(c & 0x80)) return v;
    }
    return Fail();
  }
  std::string Text(std::size_t n) {
    if (pos_ + n > b_.size()) return Fail(), std::string();
    std::string s = b_.substr(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::uint64_t Fail() {
    ok_ = false;
    pos_ = b_.size();
    return 0;
  }
  std::string b_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

std::string ReadBytes(const ReadAt& read, std::uint64_t offset, std::size_t size) {
  std::string s(size, '\0');
  s.resize(size ? read(offset, &s[0], size) : 0);
  return s;
}

void ScanRar5(const ReadAt& read, std::vector<ScannedEntry>& out) {
  std::uint64_t offset = 8;
  for (;;) {
    // CRC32, then the header's size as a vint of at most 3 bytes.
    Fields lead(ReadBytes(read, offset, 7));
    lead.Le(4);
    const std::uint64_t before = 4;
    std::uint64_t size = 0;
    std::size_t sizeLength = 0;
    for (; sizeLength < 3; ++sizeLength) {
      const std::uint64_t c = lead.Le(1);
      size |= (c & 0x7F) << (7 * sizeLength);
      if (!(c & 0x80)) break;
    }
    if (!lead.ok() || sizeLength == 3 || size == 0 || size > kMaxHeader) return;
    const std::uint64_t start = offset + before + sizeLength + 1;
    Fields h(ReadBytes(read, start, static_cast<std::size_t>(size)));
    const std::uint64_t type = h.Vint();
    const std::uint64_t flags = h.Vint();
    if (flags & 0x01) h.Vint();  // extra area size
    const std::uint64_t dataSize = (flags & 0x02) ? h.Vint() : 0;
    if (!h.ok() || type == 4 || type == 5) return;  // encrypted headers, end of archive
    if (type == 2) {
      ScannedEntry e;
      const std::uint64_t fileFlags = h.Vint();
      e.unpSize = h.Vint();
      e.attributes = static_cast<std::uint32_t>(h.Vint());
      if (fileFlags & 0x02) h.Le(4);
      if (fileFlags & 0x04) e.crc = static_cast<std::uint32_t>(h.Le(4));
      const std::uint64_t compression = h.Vint();
      const std::uint64_t host = h.Vint();
      e.name = h.Text(static_cast<std::size_t>(h.Vint()));
      if (!h.ok()) return;
      e.folder = fileFlags & 0x01;
      e.packSize = dataSize;
      e.splitBefore = flags & 0x08;
      e.splitAfter = flags & 0x10;
      e.hasCrc = (fileFlags & 0x04) && !e.splitBefore && !e.splitAfter;
      e.solid = compression & 0x40;
      e.method = 0x30 + static_cast<unsigned>((compression >> 7) & 7);
      e.unpVer = 50;
      e.hostOS = host == 0 ? 2 : 3;
      out.push_back(e);
    }
    offset = start + size + dataSize;
  }
}

void ScanRar4(const ReadAt& read, std::uint64_t offset, std::vector<ScannedEntry>& out) {
  for (;;) {
    Fields lead(ReadBytes(read, offset, 7));
    lead.Le(2);  // header CRC
    const std::uint64_t type = lead.Le(1);
    const std::uint64_t flags = lead.Le(2);
    const std::uint64_t size = lead.Le(2);
    if (!lead.ok() || size < 7 || type == 0x7B) return;  // end of archive
    Fields h(ReadBytes(read, offset + 7, static_cast<std::size_t>(size - 7)));
    std::uint64_t addSize = 0;
    if (type == 0x73 && (flags & 0x80)) return;  // encrypted headers
    if (type == 0x74 || type == 0x7A) {
      ScannedEntry e;
      std::uint64_t pack = h.Le(4);
      std::uint64_t unp = h.Le(4);
      e.hostOS = static_cast<unsigned>(h.Le(1));
      e.crc = static_cast<std::uint32_t>(h.Le(4));
      h.Le(4);  // time
      e.unpVer = static_cast<unsigned>(h.Le(1));
      e.method = static_cast<unsigned>(h.Le(1));
      const std::size_t nameSize = static_cast<std::size_t>(h.Le(2));
      e.attributes = static_cast<std::uint32_t>(h.Le(4));
      if (flags & 0x100) {
        pack |= h.Le(4) << 32;
        unp |= h.Le(4) << 32;
      }
      std::string name = h.Text(nameSize);
      if (!h.ok()) return;
      if (flags & 0x200) name = name.substr(0, std::strlen(name.c_str()));  // the bytes before the Unicode form
      e.name = name;
      e.packSize = pack;
      e.unpSize = unp;
      e.splitBefore = flags & 0x01;
      e.splitAfter = flags & 0x02;
      e.encrypted = flags & 0x04;
      e.solid = flags & 0x10;
      e.folder = (flags & 0xE0) == 0xE0;
      e.hasCrc = !e.splitBefore && !e.splitAfter && !e.folder;
      addSize = pack;
      if (type == 0x74) out.push_back(e);
    } else if (flags & 0x8000) {
      addSize = h.Le(4);
      if (!h.ok()) return;
    }
    offset += size + addSize;
  }
}

}  // namespace

std::vector<ScannedEntry> ScanRarHeaders(const ReadAt& read) {
  std::vector<ScannedEntry> out;
  const std::string signature = ReadBytes(read, 0, 8);
  if (signature == std::string("Rar!\x1A\x07\x01\x00", 8)) {
    ScanRar5(read, out);
  } else if (signature.compare(0, 7, std::string("Rar!\x1A\x07\x00", 7)) == 0) {
    ScanRar4(read, 7, out);
  }
  return out;
}
