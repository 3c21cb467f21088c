#include "unrar/rar_headers.h"

#include <cstring>

#include "rarwriter/rar_format.h"

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
    for (std::size_t i = 0; i < n; ++i)
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(b_[pos_ + i])) << (8 * i);
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

// Moves `offset` past a header and its data. A size read from the file may be
// anything: a sum that wraps, or a walk that does not move forward, ends the
// walk instead of looping over the same bytes for ever.
bool MovePast(std::uint64_t& offset, std::uint64_t headerEnd, std::uint64_t dataSize) {
  if (dataSize > UINT64_MAX - headerEnd || headerEnd + dataSize <= offset) return false;
  offset = headerEnd + dataSize;
  return true;
}

std::string ReadBytes(const ReadAt& read, std::uint64_t offset, std::size_t size) {
  std::string s(size, '\0');
  s.resize(size ? read(offset, &s[0], size) : 0);
  return s;
}

// Returns whether the walk reached the end-of-archive block (or stopped at
// encrypted headers, which it cannot judge).
bool ScanRar5(const ReadAt& read, std::vector<ScannedEntry>& out) {
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
    if (!lead.ok() || sizeLength == 3 || size == 0 || size > kMaxHeader) return false;
    const std::uint64_t start = offset + before + sizeLength + 1;
    const std::string body = ReadBytes(read, start, static_cast<std::size_t>(size));
    if (body.size() < size) return false;
    Fields h(body);
    const std::uint64_t type = h.Vint();
    const std::uint64_t flags = h.Vint();
    if (flags & kRar5HasExtra) h.Vint();
    const std::uint64_t dataSize = (flags & kRar5HasData) ? h.Vint() : 0;
    if (!h.ok()) return false;
    if (type == kRar5EncryptionHeader || type == kRar5EndHeader) return true;
    if (type == kRar5FileHeader) {
      ScannedEntry e;
      const std::uint64_t fileFlags = h.Vint();
      e.unpSize = h.Vint();
      e.attributes = static_cast<std::uint32_t>(h.Vint());
      if (fileFlags & kRar5FileHasTime) h.Le(4);
      if (fileFlags & kRar5FileHasCrc) e.crc = static_cast<std::uint32_t>(h.Le(4));
      const std::uint64_t compression = h.Vint();
      const std::uint64_t host = h.Vint();
      e.name = h.Text(static_cast<std::size_t>(h.Vint()));
      if (!h.ok()) return false;
      e.folder = fileFlags & kRar5FileFolder;
      e.packSize = dataSize;
      e.splitBefore = flags & kRar5SplitBefore;
      e.splitAfter = flags & kRar5SplitAfter;
      e.hasCrc = (fileFlags & kRar5FileHasCrc) && !e.splitBefore && !e.splitAfter;
      e.solid = compression & kRar5SolidCompression;
      e.method = kMethodStored + static_cast<unsigned>((compression >> 7) & 7);
      e.unpVer = 50;
      e.hostOS = static_cast<unsigned>(host == kRar5HostWindows ? kRar4HostWin32 : kRar4HostUnix);
      out.push_back(e);
    }
    if (!MovePast(offset, start + size, dataSize)) return false;
  }
}

// Returns false when a header is cut short (the end block is optional here:
// bytes ending between two headers end the walk soundly).
bool ScanRar4(const ReadAt& read, std::uint64_t offset, std::vector<ScannedEntry>& out) {
  for (;;) {
    const std::string leadBytes = ReadBytes(read, offset, 7);
    if (leadBytes.empty()) return true;
    Fields lead(leadBytes);
    lead.Le(2);  // header CRC
    const std::uint64_t type = lead.Le(1);
    const std::uint64_t flags = lead.Le(2);
    const std::uint64_t size = lead.Le(2);
    if (!lead.ok() || size < 7) return false;
    if (type == kRar4EndHeader) return true;
    const std::string body = ReadBytes(read, offset + 7, static_cast<std::size_t>(size - 7));
    if (body.size() < size - 7) return false;
    Fields h(body);
    std::uint64_t addSize = 0;
    if (type == kRar4MainHeader && (flags & kRar4EncryptedHeaders)) return true;
    if (type == kRar4FileHeader || type == kRar4ServiceHeader) {
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
      if (flags & kRar4LargeFile) {
        pack |= h.Le(4) << 32;
        unp |= h.Le(4) << 32;
      }
      std::string name = h.Text(nameSize);
      if (!h.ok()) return false;
      if (flags & kRar4UnicodeName)
        name = name.substr(0, std::strlen(name.c_str()));  // the bytes before the Unicode form
      e.name = name;
      e.packSize = pack;
      e.unpSize = unp;
      e.splitBefore = flags & kRar4SplitBefore;
      e.splitAfter = flags & kRar4SplitAfter;
      e.encrypted = flags & kRar4Encrypted;
      e.solid = flags & kRar4Solid;
      e.folder = (flags & kRar4FolderMask) == kRar4FolderMask;
      e.hasCrc = !e.splitBefore && !e.splitAfter && !e.folder;
      addSize = pack;
      if (type == kRar4FileHeader) out.push_back(e);
    } else if (flags & kRar4HasAddSize) {
      addSize = h.Le(4);
      if (!h.ok()) return false;
    }
    if (!MovePast(offset, offset + size, addSize)) return false;
  }
}

}  // namespace

std::vector<ScannedEntry> ScanRarHeaders(const ReadAt& read, bool* cutShort) {
  std::vector<ScannedEntry> out;
  bool sound = true;
  const std::string signature = ReadBytes(read, 0, 8);
  if (signature == std::string(kRar5Signature, 8)) {
    sound = ScanRar5(read, out);
  } else if (signature.compare(0, 7, std::string(kRar4Signature, 7)) == 0) {
    sound = ScanRar4(read, 7, out);
  }
  if (cutShort) *cutShort = !sound;
  return out;
}
