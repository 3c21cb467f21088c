// The writer's compressed archives (each file alone and solid) read back byte
// for byte by libarchive: the edge inputs of the LZ coder, files that do not
// shrink, and real trees.
#include <archive.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "rarwriter/folder_entries.h"
#include "rarwriter/rar_format.h"
#include "rarwriter/rar_writer.h"
#include "tests/rarwriter/libarchive_read.h"
#include "tests/rarwriter/test_entries.h"

namespace {

using test_entries::File;

const RarPacking kPackings[] = {RarPacking::kStore, RarPacking::kCompress, RarPacking::kSolid};

std::string Label(RarPacking p) {
  return p == RarPacking::kStore ? "store" : p == RarPacking::kCompress ? "compress" : "solid";
}

// Writes `entries`, reads them back and compares; answers the sizes.
RarSizes RoundTrip(const std::vector<RarEntry>& entries, RarPacking packing, unsigned dictBits) {
  RarOptions options;
  options.packing = packing;
  options.dictBits = dictBits;
  RarSizes sizes;
  const ReadResult r = ReadWithLibarchive(WriteRarArchive(entries, options, &sizes));
  EXPECT_EQ(r.lastStatus, ARCHIVE_EOF) << r.error;
  EXPECT_EQ(r.entries.size(), entries.size());
  std::uint64_t unpacked = 0;
  for (size_t i = 0; i < entries.size() && i < r.entries.size(); ++i) {
    SCOPED_TRACE(entries[i].name);
    EXPECT_EQ(r.entries[i].folder, entries[i].folder);
    EXPECT_EQ(r.entries[i].size, static_cast<std::int64_t>(entries[i].data.size()));
    EXPECT_TRUE(r.entries[i].data == entries[i].data);  // not printed: too long
    unpacked += entries[i].data.size();
  }
  EXPECT_EQ(sizes.unpacked, unpacked);
  return sizes;
}

}  // namespace

TEST(RarCompress, EdgeInputsReadBackInEveryPacking) {
  const std::vector<RarEntry> entries = test_entries::LzEdgeInputs();
  for (RarPacking packing : kPackings) {
    SCOPED_TRACE(Label(packing));
    const RarSizes sizes = RoundTrip(entries, packing, test_entries::kEdgeDictBits);
    if (packing == RarPacking::kStore) {
      EXPECT_EQ(sizes.packed, sizes.unpacked);
    } else {
      EXPECT_LT(sizes.packed, sizes.unpacked * 3 / 4);  // half of it is noise
    }
  }
}

// The coder's threads find the same matches, and files packed alone on two
// lanes start from the same prices, whichever runs first: the same archive
// every time.
TEST(RarCompress, ThePackingIsTheSameEveryTime) {
  const std::vector<RarEntry> entries = test_entries::LzEdgeInputs();
  for (RarPacking packing : {RarPacking::kCompress, RarPacking::kSolid}) {
    SCOPED_TRACE(Label(packing));
    RarOptions options;
    options.packing = packing;
    options.dictBits = test_entries::kEdgeDictBits;
    const std::string first = WriteRarArchive(entries, options);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(WriteRarArchive(entries, options) == first);
  }
}

// Each piece alone, so that a file's first and only block is tried too.
TEST(RarCompress, EachEdgeInputAlone) {
  for (const RarEntry& e : test_entries::LzEdgeInputs())
    for (RarPacking packing : {RarPacking::kCompress, RarPacking::kSolid}) {
      SCOPED_TRACE(e.name + " " + Label(packing));
      RoundTrip({e}, packing, test_entries::kEdgeDictBits);
    }
}

// What does not shrink is stored; in a solid archive the file after it still
// finds its matches in the file before it.
TEST(RarCompress, WhatDoesNotShrinkIsStored) {
  const std::string noise = test_entries::Noise(30000, 3);
  const std::string words = test_entries::Words(30000, 4);
  const RarSizes alone = RoundTrip({File("noise", noise)}, RarPacking::kCompress, 20);
  EXPECT_EQ(alone.packed, noise.size());
  const RarSizes solid =
      RoundTrip({File("w1", words), File("noise", noise), File("w2", words)}, RarPacking::kSolid, 20);
  const RarSizes first = RoundTrip({File("w1", words)}, RarPacking::kSolid, 20);
  EXPECT_LT(solid.packed, first.packed + noise.size() + first.packed / 10);  // w2: matches into w1
}

// The project's own sources and a folder of binaries (the writer's objects),
// in the default window.
TEST(RarCompress, RealTreesReadBack) {
  namespace fs = std::filesystem;
  for (const char* tree : {"rarwriter", "unrar", "tests/rarwriter", "build/native/rarwriter"}) {
    const fs::path path = fs::path(ZX_SOURCE_TREE) / tree;
    const bool built = std::string(tree).compare(0, 6, "build/") == 0;
    if (built && !fs::exists(path)) continue;  // no native build beside the Windows tree
    const std::vector<RarEntry> entries = FolderEntries(path.string());
    for (RarPacking packing : {RarPacking::kCompress, RarPacking::kSolid}) {
      SCOPED_TRACE(std::string(tree) + " " + Label(packing));
      const RarSizes sizes = RoundTrip(entries, packing, RarOptions().dictBits);
      EXPECT_LT(sizes.packed, sizes.unpacked * 2 / 3);
    }
  }
}

// Files packed alone that repeat an earlier one follow it, each coded as one
// copy of it, whatever lies between: text (three times), a program (filtered
// as its first was), a twin of a stored file (stored too); one too small to
// be worth it and one longer than its window are packed alone.
TEST(RarCompress, TwinsFollowTheFileTheyRepeat) {
  using test_entries::Folder;
  const std::string text = test_entries::Words(20000, 21), exe = test_entries::X86Image(30000, 22, 60),
                    noise = test_entries::Noise(5000, 23), small = test_entries::Words(200, 24),
                    large = test_entries::Words(test_entries::kEdgeWindow + 1, 25);
  const std::vector<RarEntry> firsts = {Folder("a"),          File("a/text", text), File("exe", exe),
                                        File("noise", noise), File("small", small), File("large", large)};
  std::vector<RarEntry> entries = firsts;
  for (const RarEntry& e : {File("b/text", text), File("exe2", exe), File("small2", small), File("noise2", noise),
                            File("large2", large), File("text3", text)})
    entries.push_back(e);
  RarOptions options;
  options.packing = RarPacking::kCompress;
  options.dictBits = test_entries::kEdgeDictBits;
  RarSizes with, without, alone;
  const std::string archive = WriteRarArchive(entries, options, &with);
  WriteRarArchive(firsts, options, &without);
  WriteRarArchive({File("small", small), File("large", large)}, options, &alone);
  const ReadResult r = ReadWithLibarchive(archive);
  EXPECT_EQ(r.lastStatus, ARCHIVE_EOF) << r.error;
  std::string order;
  for (const ReadEntry& read : r.entries) {
    order += read.name + " ";
    for (const RarEntry& e : entries)
      if (e.name == read.name) {
        EXPECT_TRUE(read.data == e.data) << read.name;
      }
  }
  EXPECT_EQ(order, "a a/text b/text text3 exe exe2 noise noise2 small large small2 large2 ");
  EXPECT_EQ(archive[15] & 4, 4);  // the main header's flags: solid
  EXPECT_LT(with.packed, without.packed + noise.size() + alone.packed + 3 * 64);
  // Without twins the archive is as before: not solid.
  EXPECT_EQ(WriteRarArchive(firsts, options)[15] & 4, 0);
  // Twins in windows of three sizes, each after a file of another: readers
  // keep one buffer and change its mask from file to file.
  options.dictBits = 20;
  const std::string big = test_entries::Words(300000, 26), mid = test_entries::Words(100000, 27);
  entries = {File("big", big),    File("text", text), File("mid", mid),
             File("text2", text), File("big2", big),  File("mid2", mid)};
  const ReadResult windows = ReadWithLibarchive(WriteRarArchive(entries, options));
  EXPECT_EQ(windows.lastStatus, ARCHIVE_EOF) << windows.error;
  ASSERT_EQ(windows.entries.size(), entries.size());
  for (const ReadEntry& read : windows.entries)
    EXPECT_TRUE(read.data == (read.name[0] == 'b' ? big : read.name[0] == 'm' ? mid : text)) << read.name;
}

// Records alike but for a number at their start: after the number, the same
// copy as the record before, at the reader's last length (whatever the reader
// added to the length of the copy that set it, for its distance), short or
// long enough to be taken at once: about a byte a record.
TEST(RarCompress, RecordsAlikeButForANumberReadBack) {
  for (std::size_t length : {200, 300, 3000}) {
    const std::string record = test_entries::Words(length, 32);
    std::string data;
    for (int k = 0; k < 400; ++k) data += std::to_string(1000 + k) + record.substr(4);
    for (RarPacking packing : {RarPacking::kCompress, RarPacking::kSolid}) {
      SCOPED_TRACE(std::to_string(length) + " " + Label(packing));
      const RarSizes first = RoundTrip({File("record", data.substr(0, length))}, packing, 20);
      EXPECT_LT(RoundTrip({File("records", data)}, packing, 20).packed, first.packed + 400 * 3 / 2);
    }
  }
}

// A solid stream's window is twice the stream (within the window asked for):
// the installer's reader holds twice the window whatever the payload, and
// the stream's coder indexes a window's worth of positions.
TEST(RarCompress, SolidStreamWindowFitsTheStream) {
  struct Case {
    std::uint64_t streamBytes;
    unsigned dictBits, windowBits;
  } const cases[] = {
      {1000, 25, 17}, {65536, 25, 17}, {65537, 25, 18}, {1 << 20, 25, 21}, {1 << 20, 19, 19}, {1ull << 30, 20, 20},
  };
  const std::string data = test_entries::Words(1000, 40);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.streamBytes);
    EntryPacker packer(RarPacking::kSolid, c.dictBits, c.streamBytes);
    std::string packed;
    std::uint64_t info = 0;
    ASSERT_TRUE(packer.Pack(data, packed, info));
    EXPECT_EQ((info >> kRar5WindowShift) & 15, c.windowBits - EntryPacker::kMinDictBits);
  }
}

// Small files of a solid stream, most coded with the tables the file before
// left the reader, among them a file stored (whose tables the reader never
// sees) and a filtered program: each reads back as it was.
TEST(RarCompress, SmallFilesOfAStreamReadBack) {
  // Sixteen bytes too few to pack, then bytes of the same sixteen values in
  // no pair twice (no copy to make), cheaper with the tables of the first
  // than with its own: those are not the reader's.
  std::string sixteen, pairs;
  for (unsigned i = 0; i < 16; ++i) sixteen += static_cast<char>(0x80 + i);
  for (unsigned i = 0; i < 64; ++i) pairs += static_cast<char>(0x80 + (i % 2 ? i / 2 % 16 : (i / 2 + i / 32 + 1) % 16));
  std::vector<RarEntry> entries = {File("words", test_entries::Words(2000, 1)), File("sixteen", sixteen),
                                   File("pairs", pairs)};
  for (unsigned i = 0; i < 300; ++i) {
    const std::string data = i == 100   ? test_entries::Noise(700, i)
                             : i == 200 ? test_entries::X86Image(4000, i, 40)
                                        : test_entries::Words(200 + i * 37 % 700, i);
    entries.push_back(File("f" + std::to_string(i), data));
  }
  const RarSizes sizes = RoundTrip(entries, RarPacking::kSolid, RarOptions().dictBits);
  EXPECT_LT(sizes.packed, sizes.unpacked / 2);
}
