// The header walk of our RAR library over the writer's archives, over
// libarchive's samples, and over damaged bytes.
#include "unrar/rar_headers.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "rarwriter/crc32.h"
#include "rarwriter/rar_writer.h"
#include "tests/unrar/uudecode.h"

namespace {

ReadAt Reader(std::string bytes) {
  return [bytes](std::uint64_t offset, void* buffer, std::size_t size) -> std::size_t {
    if (offset >= bytes.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(size, bytes.size() - offset);
    std::memcpy(buffer, bytes.data() + offset, n);
    return n;
  };
}

std::vector<ScannedEntry> Scan(const std::string& bytes) { return ScanRarHeaders(Reader(bytes)); }

std::string Sample(const std::string& name) {
  std::ifstream in(std::string(ZX_RAR_SAMPLES) + name + ".uu", std::ios::binary);
  return UuDecode(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

// Sizes of the entries libarchive lists; -1 for links (libarchive keeps
// their target out of the data).
std::vector<std::int64_t> LibarchiveSizes(const std::string& bytes) {
  std::vector<std::int64_t> sizes;
  struct archive* a = archive_read_new();
  archive_read_support_format_rar(a);
  archive_read_support_format_rar5(a);
  struct archive_entry* e;
  if (archive_read_open_memory(a, bytes.data(), bytes.size()) == ARCHIVE_OK)
    for (int r; (r = archive_read_next_header(a, &e)) == ARCHIVE_OK || r == ARCHIVE_WARN;) {
      const unsigned type = archive_entry_filetype(e);
      sizes.push_back(type == AE_IFDIR ? 0 : type == AE_IFLNK ? -1 : archive_entry_size(e));
    }
  archive_read_free(a);
  return sizes;
}

std::vector<RarEntry> SmallTree() {
  RarEntry folder;
  folder.name = "dir";
  folder.folder = true;
  RarEntry file;
  file.name = "dir\\f\xE9.txt";
  file.data = "some data";
  file.dosTime = (46u << 25) | (1u << 21) | (1u << 16);
  return {folder, file};
}

}  // namespace

TEST(RarHeaders, WriterArchiveFields) {
  const std::vector<ScannedEntry> s = Scan(WriteRarArchive(SmallTree()));
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].name, "dir");
  EXPECT_TRUE(s[0].folder);
  EXPECT_EQ(s[1].name, "dir/f\xC3\xA9.txt");
  EXPECT_FALSE(s[1].folder);
  EXPECT_EQ(s[1].packSize, 9u);
  EXPECT_EQ(s[1].unpSize, 9u);
  EXPECT_TRUE(s[1].hasCrc);
  EXPECT_EQ(s[1].crc, Crc32("some data", 9));
  EXPECT_EQ(s[1].hostOS, 2u);
  EXPECT_EQ(s[1].method, 0x30u);
  EXPECT_EQ(s[1].unpVer, 50u);
  EXPECT_EQ(s[1].attributes, 0x20u);
  EXPECT_FALSE(s[1].splitBefore || s[1].splitAfter || s[1].solid || s[1].encrypted);
}

// Cut or damaged bytes end the walk early and never read out of bounds.
TEST(RarHeaders, DamageEndsTheWalkSafely) {
  const std::string good = WriteRarArchive(SmallTree());
  for (std::size_t cut = 0; cut < good.size(); ++cut) EXPECT_LE(Scan(good.substr(0, cut)).size(), 2u);
  for (std::size_t i = 0; i < good.size(); ++i) {
    for (unsigned char flip : {0x01, 0x80, 0xFF}) {
      std::string bad = good;
      bad[i] = static_cast<char>(bad[i] ^ flip);
      Scan(bad);
    }
  }
  EXPECT_TRUE(Scan("").empty());
  EXPECT_TRUE(Scan("PK\x03\x04 not a rar archive").empty());
}

std::string FromHex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

// Sizes that wrap the next offset back onto the same header (or behind it)
// end the walk: before, these looped for ever inside RAROpenArchive.
TEST(RarHeaders, SizesThatWrapEndTheWalk) {
  const struct {
    const char* what;
    const char* hex;
  } cases[] = {
      {"RAR 5 data size", "526172211a070100000000000c0302efffffffffffffffff01"},
      {"RAR 4 file header",
       "526172211a070000007a00012900d7ffffff000000000200000000000000001d30010000000000ffffffff000000006e"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_LE(Scan(FromHex(c.hex)).size(), 1u);
  }
}

// An archive cut anywhere, even between two entries, is told apart from a
// whole one: RAR 5 always ends in an end-of-archive block.
TEST(RarHeaders, CutArchivesAreToldApart) {
  const std::string good = WriteRarArchive(SmallTree());
  bool cut = true;
  EXPECT_EQ(ScanRarHeaders(Reader(good), &cut).size(), 2u);
  EXPECT_FALSE(cut);
  for (std::size_t length = 8; length < good.size(); ++length) {
    ScanRarHeaders(Reader(good.substr(0, length)), &cut);
    EXPECT_TRUE(cut) << "cut to " << length << " bytes";
  }
}

// libarchive's samples: the walk survives every one, and on sound ones lists
// what libarchive lists (continuation parts left out).
TEST(RarHeaders, LibarchiveSamples) {
  for (const char* name :
       {"test_read_format_rar.rar", "test_read_format_rar_unicode.rar", "test_read_format_rar_compress_best.rar",
        "test_read_format_rar_subblock.rar", "test_read_format_rar_windows.rar", "test_read_format_rar5_stored.rar",
        "test_read_format_rar5_solid.rar", "test_read_format_rar5_win32.rar", "test_read_format_rar5_fileattr.rar",
        "test_read_format_rar5_multiple_files.rar", "test_read_format_rar5_stored_manyfiles.rar"}) {
    SCOPED_TRACE(name);
    const std::string bytes = Sample(name);
    ASSERT_FALSE(bytes.empty());
    bool cut = true;
    ScanRarHeaders(Reader(bytes), &cut);
    EXPECT_FALSE(cut);
    const std::vector<std::int64_t> listed = LibarchiveSizes(bytes);
    std::vector<std::int64_t> scanned;
    for (const ScannedEntry& e : Scan(bytes))
      if (!e.splitBefore) scanned.push_back(static_cast<std::int64_t>(e.unpSize));
    for (size_t i = 0; i < listed.size() && i < scanned.size(); ++i)
      if (listed[i] == -1) scanned[i] = -1;
    EXPECT_EQ(scanned, listed);
  }
  for (const char* damaged :
       {"test_read_format_rar_invalid1.rar", "test_read_format_rar5_truncated_huff.rar",
        "test_read_format_rar_encryption_header.rar", "test_read_format_rar5_multiarchive.part02.rar",
        "test_read_format_rar_multivolume.part0002.rar", "test_read_format_rar5_extra_field_version.rar"})
    Scan(Sample(damaged));
}
