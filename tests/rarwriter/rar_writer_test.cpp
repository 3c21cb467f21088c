// The writer's archives read back with libarchive (the host's natively, our
// cross-built one under Wine).
#include "rarwriter/rar_writer.h"

#include <archive.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "rarwriter/crc32.h"
#include "rarwriter/folder_entries.h"
#include "tests/rarwriter/libarchive_read.h"
#include "tests/rarwriter/test_entries.h"

namespace {

using test_entries::File;
using test_entries::Folder;
using test_entries::kDec7Noon;

std::string AllBytes(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

}  // namespace

TEST(RarWriter, TreeReadsBackWithNamesTimesAndData) {
  const std::vector<RarEntry> tree = {
      File("empty.txt", ""),
      Folder("a"),
      Folder("a\\b"),
      File("a\\b\\deep.bin", AllBytes(300000)),
      Folder("with blanks"),
      File("with blanks\\file name .txt", "x y"),
      File("caf\xE9 \x80uro \xFC\x81.txt", "ansi"),
  };
  const ReadResult r = ReadWithLibarchive(WriteRarArchive(tree));
  EXPECT_EQ(r.lastStatus, ARCHIVE_EOF) << r.error;
  ASSERT_EQ(r.entries.size(), tree.size());
  for (size_t i = 0; i < tree.size(); ++i) {
    SCOPED_TRACE(tree[i].name);
    std::string expected = Cp1252ToUtf8(tree[i].name);
    for (char& c : expected)
      if (c == '\\') c = '/';
    EXPECT_EQ(r.entries[i].name, expected);
    EXPECT_EQ(r.entries[i].folder, tree[i].folder);
    EXPECT_EQ(r.entries[i].size, static_cast<std::int64_t>(tree[i].data.size()));
    EXPECT_EQ(r.entries[i].data, tree[i].data);
    EXPECT_EQ(r.entries[i].mtime, 1796644800);
  }
}

TEST(RarWriter, EmptyArchiveAndEntryWithoutTime) {
  EXPECT_EQ(ReadWithLibarchive(WriteRarArchive({})).lastStatus, ARCHIVE_EOF);
  RarEntry e = File("t", "1");
  e.dosTime = 0;
  const ReadResult r = ReadWithLibarchive(WriteRarArchive({e}));
  ASSERT_EQ(r.entries.size(), 1u);
  EXPECT_EQ(r.entries[0].mtime, -1);
}

// Every header carries a checksum the reader verifies.
TEST(RarWriter, DamagedHeaderIsDetected) {
  const std::string good = WriteRarArchive({File("f.bin", AllBytes(1000))});
  ASSERT_EQ(ReadWithLibarchive(good).lastStatus, ARCHIVE_EOF);
  std::string badHeader = good;
  badHeader[badHeader.find("f.bin")] = 'g';
  EXPECT_NE(ReadWithLibarchive(badHeader).lastStatus, ARCHIVE_EOF);
}

// The vendor's progress: once per file (folders are not counted), up to the totals.
TEST(RarWriter, ProgressAfterEachFile) {
  using test_entries::File;
  std::vector<RarProgress> seen;
  RarOptions options;
  options.packing = RarPacking::kCompress;
  options.progress = [&](const RarProgress& p) { seen.push_back(p); };
  WriteRarArchive({test_entries::Folder("d"), File("d\\a", "abc"), File("b", ""), File("c", "hello")}, options);
  ASSERT_EQ(seen.size(), 3u);
  const std::uint64_t bytesDone[] = {3, 3, 8};
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].filesDone, i + 1);
    EXPECT_EQ(seen[i].files, 3u);
    EXPECT_EQ(seen[i].bytesDone, bytesDone[i]);
    EXPECT_EQ(seen[i].bytes, 8u);
  }
}

TEST(RarWriter, Cp1252ToUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("plain ASCII"), "plain ASCII");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf8("\xE9\xFF"), "\xC3\xA9\xC3\xBF");
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9F\xA0"), "\xC2\x81\xC5\xB8\xC2\xA0");
}

TEST(RarWriter, DosTimes) {
  EXPECT_EQ(DosTimeToUnix(kDec7Noon), 1796644800);
  EXPECT_EQ(UnixToDosTime(1796644800), kDec7Noon);
  EXPECT_EQ(UnixToDosTime(1796644801), kDec7Noon);  // two-second steps
  const std::uint32_t leapDay = (20u << 25) | (2u << 21) | (29u << 16) | (23u << 11) | (59u << 5) | 29u;
  EXPECT_EQ(UnixToDosTime(DosTimeToUnix(leapDay)), leapDay);                  // 2000-02-29 23:59:58
  EXPECT_EQ(DosTimeToUnix((0u << 25) | (1u << 21) | (1u << 16)), 315532800);  // 1980-01-01
  EXPECT_EQ(UnixToDosTime(315532799), 0u);
}

TEST(RarWriter, Crc32) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);
  // Long blocks (eight bytes at a time) agree with a byte at a time.
  const std::string bytes = AllBytes(1001);
  std::uint32_t byByte = 0;
  for (char c : bytes) byByte = Crc32(&c, 1, byByte);
  EXPECT_EQ(Crc32(bytes.data(), bytes.size()), byByte);
  EXPECT_EQ(Crc32(bytes.data() + 3, 998), Crc32(bytes.data() + 10, 991, Crc32(bytes.data() + 3, 7)));
}

TEST(FolderEntries, FoldersBeforeTheirContentsSorted) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() /
                        ("zx_folder_entries_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::remove_all(root);
  fs::create_directories(root / "b" / "c");
  fs::create_directories(root / "a");
  std::ofstream(root / "b" / "c" / "f.txt", std::ios::binary) << "data";
  std::ofstream(root / "z.txt", std::ios::binary);
  std::ofstream(root / fs::u8path("z\xC3\xA9.txt"), std::ios::binary);
  const std::vector<RarEntry> entries = FolderEntries(root.string());
  fs::remove_all(root);
  std::vector<std::string> names;
  for (const RarEntry& e : entries) names.push_back(e.name + (e.folder ? "\\" : ""));
  EXPECT_EQ(names, (std::vector<std::string>{"a\\", "b\\", "b\\c\\", "b\\c\\f.txt", "z.txt", "z\xC3\xA9.txt"}));
  // Names of the file system are UTF-8 already: written as they are.
  const ReadResult r = ReadWithLibarchive(WriteRarArchive(entries));
  ASSERT_EQ(r.entries.size(), entries.size());
  EXPECT_EQ(r.entries[5].name, "z\xC3\xA9.txt");
  EXPECT_EQ(entries[3].data, "data");
  EXPECT_EQ(entries[0].attributes & 0x10, 0x10u);
  EXPECT_NE(entries[3].dosTime, 0u);
}
