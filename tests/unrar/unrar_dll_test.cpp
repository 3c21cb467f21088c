// Our unrar.dll through the installer's binding: libarchive's own RAR
// samples compared with what libarchive itself reads from them, and
// archives of our writer (round trips, hostile and long names).
#include <windows.h>
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "extract/unrar_binding.h"
#include "rarwriter/crc32.h"
#include "rarwriter/rar_writer.h"
#include "support/handles.h"
#include "tests/harness/harness.h"
#include "tests/rarwriter/test_entries.h"
#include "tests/unrar/uudecode.h"

namespace {

std::uint32_t dataCrc = 0;
std::uint64_t dataBytes = 0;

int ZX_RAR_CALL OnData(unsigned char* addr, int size) {
  dataCrc = Crc32(addr, static_cast<size_t>(size), dataCrc);
  dataBytes += static_cast<std::uint64_t>(size);
  return 1;
}

std::string ToAnsi(const wchar_t* w) {
  int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
  return s;
}

std::string Backslashed(std::string s) {
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

// The name as libarchive gives it: wide, else UTF-8, else its raw bytes.
std::string EntryName(struct archive_entry* e) {
  if (const wchar_t* w = archive_entry_pathname_w(e)) return ToAnsi(w);
  if (const char* utf8 = archive_entry_pathname_utf8(e)) {
    std::wstring w(strlen(utf8) + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], static_cast<int>(w.size()));
    return ToAnsi(w.c_str());
  }
  const char* raw = archive_entry_pathname(e);
  return raw ? raw : "";
}

struct Listed {
  std::string name;
  bool folder = false;
  bool link = false;  // libarchive gives no data for a link's target
  std::uint32_t size = 0;
  bool dataOk = false;
  std::uint32_t crc = 0;  // of the data read
  int code = 0;           // the DLL's RARProcessFile code
  RARHeaderData header;
};

struct Listing {
  std::vector<Listed> entries;
  bool cleanEnd = false;  // the walk reached the end without an error
  int endCode = 0;        // the DLL: the code that ended the walk
  std::string error;
};

// libarchive's own reader over the file.
Listing ReadWithLibarchive(const std::string& path) {
  Listing out;
  struct archive* a = archive_read_new();
  archive_read_support_format_rar(a);
  archive_read_support_format_rar5(a);
  if (archive_read_open_filename(a, path.c_str(), 1 << 16) == ARCHIVE_OK) {
    struct archive_entry* e = nullptr;
    int r;
    while ((r = archive_read_next_header(a, &e)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
      Listed l;
      l.name = Backslashed(EntryName(e));
      l.folder = archive_entry_filetype(e) == AE_IFDIR;
      l.link = archive_entry_filetype(e) == AE_IFLNK;
      l.size = l.folder ? 0 : static_cast<std::uint32_t>(archive_entry_size(e));
      l.dataOk = true;
      if (!l.folder && !archive_entry_is_encrypted(e)) {
        char buf[65536];
        la_ssize_t n;
        while ((n = archive_read_data(a, buf, sizeof buf)) > 0) l.crc = Crc32(buf, static_cast<size_t>(n), l.crc);
        l.dataOk = n == 0;
      } else if (!l.folder) {
        l.dataOk = false;
      }
      out.entries.push_back(l);
    }
    out.cleanEnd = r == ARCHIVE_EOF;
  }
  if (archive_error_string(a)) out.error = archive_error_string(a);
  archive_read_free(a);
  return out;
}

// Our DLL: every header, and on the i-th entry the i-th operation of `ops`
// ('S'kip, 'T'est, 'E'xtract; its last one for the entries beyond it). Data is
// checked through the data callback when testing.
Listing WalkWithDll(const std::string& path, const std::string& ops, const std::string& destPath = "",
                    unsigned openMode = RAR_OM_EXTRACT) {
  Listing out;
  std::string name = path;
  RAROpenArchiveData open = {};
  open.ArcName = &name[0];
  open.OpenMode = openMode;
  RarArchiveHandle h = Unrar.OpenArchive(&open);
  if (!h) {
    out.endCode = static_cast<int>(open.OpenResult);
    return out;
  }
  Unrar.SetProcessDataProc(h, OnData);
  // The defaults, set anyway: every walk calls all seven exports, so that a
  // link that lost one shows here.
  Unrar.SetChangeVolProc(h, nullptr);
  Unrar.SetPassword(h, nullptr);
  for (;;) {
    Listed l;
    std::memset(&l.header, 0xCC, sizeof l.header);
    const int r = UnrarReadHeader(h, &l.header);
    if (r != 0) {
      out.endCode = r;
      break;
    }
    l.name = l.header.FileName;
    l.folder = (l.header.FileAttr & 0x10) != 0;
    l.size = l.header.UnpSize;
    dataCrc = 0;
    dataBytes = 0;
    const char op = ops[std::min(out.entries.size(), ops.size() - 1)];
    l.code = UnrarProcessFile(h, op == 'E' ? RAR_EXTRACT : op == 'T' ? RAR_TEST : RAR_SKIP, destPath, "");
    l.dataOk = l.code == 0;
    l.crc = dataCrc;
    out.entries.push_back(l);
  }
  out.cleanEnd = out.endCode == ERAR_END_ARCHIVE;
  UnrarCloseArchive(h);
  return out;
}

Listing ReadWithDll(const std::string& path, int operation, const std::string& destPath = "",
                    unsigned openMode = RAR_OM_EXTRACT) {
  return WalkWithDll(path, std::string(1, "STE"[operation]), destPath, openMode);
}

std::string SamplesDir() { return ZX_RAR_SAMPLES; }

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  FindHandle f(FindFirstFileA((SamplesDir() + "*.rar.uu").c_str(), &fd));
  if (!f) return names;
  do {
    std::string n = fd.cFileName;
    names.push_back(n.substr(0, n.size() - 3));
  } while (FindNextFileA(f.Get(), &fd));
  return names;
}

// Decodes a sample into `folder`; answers its path.
std::string DecodeSample(const std::string& name, const std::string& folder) {
  const std::string path = folder + name;
  harness::WriteFileBytes(path, UuDecode(harness::ReadFileBytes(SamplesDir() + name + ".uu")));
  return path;
}

std::uint32_t FileCrc(const std::string& path) {
  const std::string bytes = harness::ReadFileBytes(path);
  return Crc32(bytes.data(), bytes.size());
}

class UnrarDll : public ::testing::Test {
 protected:
  void SetUp() override { LoadUnrarLibrary(harness::BinDir() + "unrar.dll"); }
  void TearDown() override { UnloadUnrarLibrary(); }
};

using test_entries::File;
using test_entries::Folder;
using test_entries::kDec7Noon;

std::string WriteArchive(const std::string& path, const std::vector<RarEntry>& entries,
                         RarPacking packing = RarPacking::kStore, unsigned dictBits = RarOptions().dictBits) {
  RarOptions options;
  options.packing = packing;
  options.dictBits = dictBits;
  harness::WriteFileBytes(path, WriteRarArchive(entries, options));
  return path;
}

const RarPacking kPackings[] = {RarPacking::kStore, RarPacking::kCompress, RarPacking::kSolid};

// The DOS time the DLL reports for a UTC DOS time (it gives local time).
unsigned LocalDosTime(std::uint32_t utcDos) {
  FILETIME utc, local;
  DosDateTimeToFileTime(static_cast<WORD>(utcDos >> 16), static_cast<WORD>(utcDos), &utc);
  FileTimeToLocalFileTime(&utc, &local);
  WORD date, time;
  FileTimeToDosDateTime(&local, &date, &time);
  return (static_cast<unsigned>(date) << 16) | time;
}

}  // namespace

// Every sample of libarchive's test suite, one volume at a time: the same
// entries, the same data, and an error wherever libarchive meets one.
TEST_F(UnrarDll, LibarchiveSamplesAgreeWithLibarchive) {
  const std::vector<std::string> samples = SampleNames();
  ASSERT_GE(samples.size(), 60u) << "no samples in " << SamplesDir();
  const std::string dir = harness::TestDir();
  int withData = 0;
  for (const std::string& sample : samples) {
    SCOPED_TRACE(sample);
    const std::string path = DecodeSample(sample, dir);
    const Listing ref = ReadWithLibarchive(path);
    const Listing dll = ReadWithDll(path, RAR_TEST);
    ASSERT_EQ(dll.entries.size(), ref.entries.size()) << ref.error;
    for (size_t i = 0; i < ref.entries.size(); ++i) {
      const Listed& r = ref.entries[i];
      const Listed& d = dll.entries[i];
      SCOPED_TRACE(r.name);
      EXPECT_EQ(d.name, r.name.substr(0, 259));
      EXPECT_EQ(d.folder, r.folder);
      EXPECT_EQ(d.size, r.size);
      if (r.dataOk && !r.folder) {
        if (d.code == ERAR_BAD_DATA) {
          // Stricter than libarchive: a stored entry whose data fails its CRC.
          EXPECT_NE(d.header.FileCRC, r.crc);
        } else {
          EXPECT_EQ(d.code, 0);
          EXPECT_EQ(d.crc, r.crc);
          ++withData;
        }
      } else if (!r.dataOk) {
        EXPECT_NE(d.code, 0);
      }
      if (d.code == 0 && !r.folder && !r.link && d.header.FileCRC && !(d.header.Flags & 0x03)) {
        EXPECT_EQ(d.header.FileCRC, r.crc);
      }
    }
    if (!ref.cleanEnd) {
      std::ostringstream walk;
      for (size_t i = 0; i < ref.entries.size(); ++i)
        walk << ref.entries[i].name << " " << ref.entries[i].dataOk << "/" << dll.entries[i].code << "\n";
      EXPECT_NE(dll.endCode, ERAR_END_ARCHIVE) << ref.error << "\n" << walk.str();
    }
  }
  EXPECT_GE(withData, 80);
}

// A few samples known to be sound must read through without any error (this
// also proves the samples were decoded right).
TEST_F(UnrarDll, SoundSamplesReadToTheEnd) {
  const std::string dir = harness::TestDir();
  for (const char* sample :
       {"test_read_format_rar.rar", "test_read_format_rar5_stored.rar", "test_read_format_rar5_compressed.rar",
        "test_read_format_rar5_solid.rar", "test_read_format_rar_unicode.rar", "test_read_format_rar_compress_best.rar",
        "test_read_format_rar5_multiple_files_solid.rar"}) {
    SCOPED_TRACE(sample);
    const Listing dll = ReadWithDll(DecodeSample(sample, dir), RAR_TEST);
    EXPECT_EQ(dll.endCode, ERAR_END_ARCHIVE);
    EXPECT_FALSE(dll.entries.empty());
    for (const Listed& l : dll.entries) EXPECT_EQ(l.code, 0) << l.name;
  }
}

TEST_F(UnrarDll, EncryptedSamplesAskForThePassword) {
  const std::string dir = harness::TestDir();
  const Listing data = ReadWithDll(DecodeSample("test_read_format_rar_encryption_data.rar", dir), RAR_EXTRACT, dir);
  ASSERT_FALSE(data.entries.empty());
  for (const Listed& l : data.entries) {
    if (!l.folder) {
      EXPECT_EQ(l.code, ERAR_MISSING_PASSWORD) << l.name;
    }
  }

  const Listing header = ReadWithDll(DecodeSample("test_read_format_rar_encryption_header.rar", dir), RAR_TEST);
  EXPECT_TRUE(header.entries.empty());
  EXPECT_EQ(header.endCode, ERAR_MISSING_PASSWORD);

  const Listing partly = ReadWithDll(DecodeSample("test_read_format_rar_encryption_partially.rar", dir), RAR_TEST);
  int refused = 0, read = 0;
  for (const Listed& l : partly.entries) (l.code == ERAR_MISSING_PASSWORD ? refused : read)++;
  EXPECT_GT(refused, 0);
  EXPECT_GT(read, 0);
}

// Extracting a sample writes what testing it reads; the compressed and solid
// ones included.
TEST_F(UnrarDll, ExtractedSamplesMatchTheirData) {
  const std::string dir = harness::TestDir();
  for (const char* sample : {"test_read_format_rar_compress_normal.rar", "test_read_format_rar5_solid.rar",
                             "test_read_format_rar5_multiple_files.rar", "test_read_format_rar_filter.rar"}) {
    SCOPED_TRACE(sample);
    const std::string dest = dir + "out\\" + sample + "\\";
    const std::string path = DecodeSample(sample, dir);
    const Listing ref = ReadWithLibarchive(path);
    const Listing dll = ReadWithDll(path, RAR_EXTRACT, dest);
    ASSERT_EQ(dll.entries.size(), ref.entries.size());
    for (size_t i = 0; i < ref.entries.size(); ++i) {
      // A symbolic link is not made, and the library says so.
      EXPECT_EQ(dll.entries[i].code, ref.entries[i].link ? ERAR_ECREATE : 0) << ref.entries[i].name;
      if (ref.entries[i].link) {
        EXPECT_FALSE(harness::FileExists(dest + ref.entries[i].name)) << ref.entries[i].name;
      } else if (ref.entries[i].folder) {
        EXPECT_TRUE(harness::FolderExists(dest + ref.entries[i].name)) << ref.entries[i].name;
      } else {
        EXPECT_EQ(FileCrc(dest + ref.entries[i].name), ref.entries[i].crc) << ref.entries[i].name;
      }
    }
  }
}

// A hard link gets the data of the file it links to, not an empty file; a
// link whose target was not extracted before it is an error, not a success.
TEST_F(UnrarDll, HardLinkGetsItsTargetsData) {
  const std::string dir = harness::TestDir();
  const std::string path = DecodeSample("test_read_format_rar5_hardlink.rar", dir);
  const Listing dll = ReadWithDll(path, RAR_EXTRACT, dir + "out\\");
  ASSERT_EQ(dll.entries.size(), 2u);
  EXPECT_EQ(dll.entries[1].code, 0);
  const std::string data = harness::ReadFileBytes(dir + "out\\file.txt");
  EXPECT_EQ(data.size(), 5u);
  EXPECT_EQ(harness::ReadFileBytes(dir + "out\\hardlink.txt"), data);

  // The target skipped: the link has nothing to copy.
  const RarArchiveHandle arc = UnrarOpenArchive(path);
  ASSERT_NE(arc, nullptr);
  RARHeaderData h = {};
  ASSERT_EQ(UnrarReadHeader(arc, &h), 0);
  EXPECT_EQ(UnrarProcessFile(arc, RAR_SKIP, "", ""), 0);
  ASSERT_EQ(UnrarReadHeader(arc, &h), 0);
  EXPECT_EQ(UnrarProcessFile(arc, RAR_EXTRACT, dir + "skipped\\", ""), ERAR_ECREATE);
  UnrarCloseArchive(arc);
  EXPECT_FALSE(harness::FileExists(dir + "skipped\\hardlink.txt"));
}

// A symbolic link is not made, and says so; the entries around it are.
TEST_F(UnrarDll, SymbolicLinkIsAnErrorNotAnEmptySuccess) {
  const std::string dir = harness::TestDir();
  const Listing dll = ReadWithDll(DecodeSample("test_read_format_rar5_symlink.rar", dir), RAR_EXTRACT, dir + "out\\");
  ASSERT_EQ(dll.entries.size(), 4u);
  EXPECT_EQ(dll.entries[0].code, 0);
  EXPECT_EQ(dll.entries[1].code, ERAR_ECREATE);  // symlink.txt
  EXPECT_EQ(dll.entries[2].code, ERAR_ECREATE);  // dirlink
  EXPECT_EQ(dll.entries[3].code, 0);
  EXPECT_TRUE(harness::FileExists(dir + "out\\file.txt"));
  EXPECT_FALSE(harness::FileExists(dir + "out\\symlink.txt"));
  EXPECT_TRUE(dll.cleanEnd);
}

// The writer's tree read back by libarchive and by our DLL: names in the
// ANSI code page, sizes, attributes, times, and the files it writes.
TEST_F(UnrarDll, WriterRoundTrip) {
  const bool western = GetACP() == 1252;
  const std::string odd = western ? "caf\xE9 \x80uro \xFC.txt" : "cafe euro u.txt";
  std::string big(700000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 / 7);
  const std::vector<RarEntry> tree = {
      File("empty.txt", ""),
      Folder("a"),
      Folder("a\\b c"),
      File("a\\b c\\deep file.bin", big),
      File("a\\top.txt", "t"),
      File(odd, "ansi name"),
      File("no folder entry\\inside.txt", "folders of a path are made"),
  };
  for (RarPacking packing : kPackings) {
    SCOPED_TRACE(static_cast<int>(packing));
    const std::string dir = harness::TestDir() + std::to_string(static_cast<int>(packing)) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = WriteArchive(dir + "tree.rar", tree, packing);

    const Listing ref = ReadWithLibarchive(path);
    ASSERT_TRUE(ref.cleanEnd) << ref.error;
    const Listing dll = ReadWithDll(path, RAR_EXTRACT, dir + "dest");
    ASSERT_EQ(dll.endCode, ERAR_END_ARCHIVE);
    ASSERT_EQ(dll.entries.size(), tree.size());
    ASSERT_EQ(ref.entries.size(), tree.size());
    for (size_t i = 0; i < tree.size(); ++i) {
      const RarEntry& t = tree[i];
      const Listed& d = dll.entries[i];
      SCOPED_TRACE(t.name);
      EXPECT_EQ(ref.entries[i].name, t.name);
      EXPECT_EQ(d.name, t.name);
      EXPECT_EQ(d.code, 0);
      EXPECT_EQ(d.size, t.data.size());
      // Stored (method 0x30) unless compressing shrinks the file.
      if (packing == RarPacking::kStore) {
        EXPECT_EQ(d.header.PackSize, t.data.size());
      } else if (t.data.size() > 1000) {
        EXPECT_LT(d.header.PackSize, t.data.size() / 10);
      }
      EXPECT_LE(d.header.PackSize, t.data.size());
      EXPECT_EQ(d.header.Method, d.header.PackSize < t.data.size() ? 0x33u : 0x30u);
      EXPECT_EQ(d.header.FileAttr, t.folder ? 0x10u : 0x20u);
      EXPECT_EQ(d.header.FileTime, LocalDosTime(kDec7Noon));
      EXPECT_EQ(d.header.HostOS, 2u);
      EXPECT_STREQ(d.header.ArcName, path.c_str());
      EXPECT_EQ(d.header.CmtSize, 0u);
      if (t.folder) {
        EXPECT_TRUE(harness::FolderExists(dir + "dest\\" + t.name));
      } else {
        EXPECT_EQ(d.header.FileCRC, Crc32(t.data.data(), t.data.size()));
        EXPECT_EQ(harness::ReadFileBytes(dir + "dest\\" + t.name), t.data);
      }
    }
    // Extracted files carry the entry's time.
    WIN32_FILE_ATTRIBUTE_DATA info;
    ASSERT_TRUE(GetFileAttributesExA((dir + "dest\\a\\top.txt").c_str(), GetFileExInfoStandard, &info));
    FILETIME expected;
    DosDateTimeToFileTime(static_cast<WORD>(kDec7Noon >> 16), static_cast<WORD>(kDec7Noon), &expected);
    EXPECT_EQ(CompareFileTime(&info.ftLastWriteTime, &expected), 0);
  }
}

// A name stored decomposed (e and a combining accent, as Mac OS keeps names)
// is composed into the code page's one character.
TEST_F(UnrarDll, DecomposedNameReadsComposed) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs the western code page";
  const std::string dir = harness::TestDir();
  RarEntry decomposed = File("cafe\xCC\x81.txt", "nfd");
  decomposed.utf8Name = true;
  const Listing dll = ReadWithDll(WriteArchive(dir + "nfd.rar", {decomposed}), RAR_EXTRACT, dir + "d");
  ASSERT_EQ(dll.entries.size(), 1u);
  EXPECT_EQ(dll.entries[0].name, "caf\xE9.txt");
  EXPECT_EQ(harness::ReadFileBytes(dir + "d\\caf\xE9.txt"), "nfd");
}

// The edge inputs of the compressor, listed, tested (data checked against
// the CRC) and extracted through the DLL in every packing.
TEST_F(UnrarDll, CompressedEdgeInputs) {
  const std::vector<RarEntry> entries = test_entries::LzEdgeInputs();
  for (RarPacking packing : kPackings) {
    SCOPED_TRACE(static_cast<int>(packing));
    const std::string dir = harness::TestDir() + std::to_string(static_cast<int>(packing)) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = WriteArchive(dir + "edge.rar", entries, packing, test_entries::kEdgeDictBits);
    for (int operation : {RAR_SKIP, RAR_TEST, RAR_EXTRACT}) {
      SCOPED_TRACE(operation);
      const Listing dll =
          ReadWithDll(path, operation, dir + "dest", operation == RAR_SKIP ? RAR_OM_LIST : RAR_OM_EXTRACT);
      EXPECT_EQ(dll.endCode, ERAR_END_ARCHIVE);
      ASSERT_EQ(dll.entries.size(), entries.size());
      for (size_t i = 0; i < entries.size(); ++i) {
        const RarEntry& e = entries[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(dll.entries[i].code, 0);
        EXPECT_EQ(dll.entries[i].size, e.data.size());
        EXPECT_EQ(dll.entries[i].header.FileCRC, Crc32(e.data.data(), e.data.size()));
        if (operation == RAR_TEST) {
          EXPECT_EQ(dll.entries[i].crc, dll.entries[i].header.FileCRC);
        }
        if (operation == RAR_EXTRACT) {
          EXPECT_TRUE(harness::ReadFileBytes(dir + "dest\\" + e.name) == e.data);
        }
      }
    }
  }
}

// Read-only, hidden and system bits travel from the archive to the header
// and to the extracted file.
TEST_F(UnrarDll, AttributesReachHeaderAndFile) {
  const std::string dir = harness::TestDir();
  std::vector<RarEntry> entries = {File("ro.txt", "r"), File("hidden.txt", "h"), File("system.txt", "s")};
  entries[0].attributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY;
  entries[1].attributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN;
  entries[2].attributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM;
  const Listing dll = ReadWithDll(WriteArchive(dir + "attr.rar", entries), RAR_EXTRACT, dir + "d");
  ASSERT_EQ(dll.entries.size(), 3u);
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(entries[i].name);
    EXPECT_EQ(dll.entries[i].header.FileAttr, entries[i].attributes);
    EXPECT_EQ(GetFileAttributesA((dir + "d\\" + entries[i].name).c_str()), entries[i].attributes);
  }
  // A second extraction replaces the read-only, hidden and system files.
  const Listing again = ReadWithDll(dir + "attr.rar", RAR_EXTRACT, dir + "d");
  ASSERT_EQ(again.entries.size(), 3u);
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(again.entries[i].code, 0) << entries[i].name;
    EXPECT_EQ(GetFileAttributesA((dir + "d\\" + entries[i].name).c_str()), entries[i].attributes);
  }
  SetFileAttributesA((dir + "d\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UnrarDll, ListModeSkipsAndReadsHeadersInTurn) {
  const std::string dir = harness::TestDir();
  const std::string path = WriteArchive(dir + "t.rar", {File("one", "1"), File("two", "22"), File("three", "333")});
  EXPECT_EQ(ReadWithDll(path, RAR_SKIP, "", RAR_OM_LIST).entries.size(), 3u);
  // Reading the next header without processing the entry moves past it.
  std::string name = path;
  RAROpenArchiveData open = {};
  open.ArcName = &name[0];
  RarArchiveHandle h = Unrar.OpenArchive(&open);
  ASSERT_TRUE(h);
  RARHeaderData header = {};
  ASSERT_EQ(UnrarReadHeader(h, &header), 0);
  ASSERT_EQ(UnrarReadHeader(h, &header), 0);
  EXPECT_STREQ(header.FileName, "two");
  EXPECT_EQ(UnrarProcessFile(h, RAR_EXTRACT, "", dir + "renamed.txt"), 0);
  EXPECT_EQ(harness::ReadFileBytes(dir + "renamed.txt"), "22");
  EXPECT_EQ(UnrarProcessFile(h, RAR_SKIP, "", ""), ERAR_UNKNOWN);  // nothing read to process
  ASSERT_EQ(UnrarReadHeader(h, &header), 0);
  EXPECT_EQ(UnrarProcessFile(h, RAR_SKIP, "", ""), 0);
  EXPECT_EQ(UnrarReadHeader(h, &header), ERAR_END_ARCHIVE);
  EXPECT_EQ(UnrarReadHeader(h, &header), ERAR_END_ARCHIVE);
  EXPECT_EQ(Unrar.CloseArchive(h), 0);
}

// Skips leave a solid stream unpacked until some entry's data is wanted; the
// entries after any mix of skips still read back whole, though each file
// needs the ones before it.
TEST_F(UnrarDll, SkipsInASolidStreamKeepLaterDataWhole) {
  const std::string dir = harness::TestDir();
  std::vector<RarEntry> entries;
  std::string text;
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 3000; ++j) text += static_cast<char>('a' + (i * j * j / 5 + j) % 26);
    entries.push_back(File("f" + std::to_string(i), text));
  }
  std::string mixed;  // packs to thousands of bytes: room for the damage below
  for (int i = 0; i < 20000; ++i) mixed += static_cast<char>('a' + (i * i / 7) % 23);
  entries.push_back(File("tail", mixed + text));
  const std::string path = WriteArchive(dir + "solid.rar", entries, RarPacking::kSolid, test_entries::kEdgeDictBits);
  int walkNo = 0;
  for (const char* ops : {"S", "SSE", "SSSSSE", "ESE", "SESESE", "TSSE", "ES", "SSTS"}) {
    SCOPED_TRACE(ops);
    const std::string dest = dir + "walk" + std::to_string(++walkNo);
    const Listing dll = WalkWithDll(path, ops, dest);
    EXPECT_EQ(dll.endCode, ERAR_END_ARCHIVE);
    ASSERT_EQ(dll.entries.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      const RarEntry& e = entries[i];
      const char op = ops[std::min(i, std::strlen(ops) - 1)];
      SCOPED_TRACE(e.name);
      EXPECT_EQ(dll.entries[i].code, 0);
      EXPECT_EQ(dll.entries[i].size, e.data.size());
      EXPECT_EQ(dll.entries[i].header.FileCRC, Crc32(e.data.data(), e.data.size()));
      if (op == 'T') {
        EXPECT_EQ(dll.entries[i].crc, dll.entries[i].header.FileCRC);
      }
      EXPECT_EQ(harness::FileExists(dest + "\\" + e.name), op == 'E');
      if (op == 'E') {
        EXPECT_TRUE(harness::ReadFileBytes(dest + "\\" + e.name) == e.data);
      }
    }
  }
  // Damage in the tail's packed data: a listing reads every header and
  // ends cleanly (nothing is unpacked); extracting the file finds the damage.
  std::string packed = harness::ReadFileBytes(path);
  packed[packed.size() - 60] ^= 0x08;
  harness::WriteFileBytes(dir + "damaged.rar", packed);
  const Listing listed = WalkWithDll(dir + "damaged.rar", "S");
  EXPECT_EQ(listed.endCode, ERAR_END_ARCHIVE);
  EXPECT_EQ(listed.entries.size(), entries.size());
  const Listing extracted = WalkWithDll(dir + "damaged.rar", "SSSSSSE", dir + "damaged");
  ASSERT_EQ(extracted.entries.size(), entries.size());
  EXPECT_EQ(extracted.entries.back().code, ERAR_BAD_DATA);
  EXPECT_FALSE(harness::FileExists(dir + "damaged\\tail"));
}

TEST_F(UnrarDll, OpenFailures) {
  const std::string dir = harness::TestDir();
  std::string missing = dir + "missing.rar";
  RAROpenArchiveData open = {};
  open.ArcName = &missing[0];
  EXPECT_EQ(Unrar.OpenArchive(&open), nullptr);
  EXPECT_EQ(open.OpenResult, static_cast<unsigned>(ERAR_EOPEN));

  std::string text = dir + "text.rar";
  harness::WriteFileBytes(text, "this is not an archive at all, just some words");
  open = {};
  open.ArcName = &text[0];
  EXPECT_EQ(Unrar.OpenArchive(&open), nullptr);
  EXPECT_EQ(open.OpenResult, static_cast<unsigned>(ERAR_BAD_ARCHIVE));
}

// Damaged data is an error, and no file is left in its place.
TEST_F(UnrarDll, DamagedDataLeavesNoFile) {
  const std::string dir = harness::TestDir();
  const std::string data(5000, 'd');
  std::string bytes = WriteRarArchive({File("good.txt", "fine"), File("bad.bin", data), File("after.txt", "ok")});
  bytes[bytes.find(data) + 2500] ^= 0x40;
  harness::WriteFileBytes(dir + "bad.rar", bytes);
  const Listing dll = ReadWithDll(dir + "bad.rar", RAR_EXTRACT, dir + "dest");
  ASSERT_EQ(dll.entries.size(), 3u);
  EXPECT_EQ(dll.entries[0].code, 0);
  EXPECT_EQ(dll.entries[1].code, ERAR_BAD_DATA);
  EXPECT_FALSE(harness::FileExists(dir + "dest\\bad.bin"));
  EXPECT_EQ(dll.entries[2].code, 0);

  // Compressed, each file alone and solid: the damage is still found.
  std::string mixed;
  for (int i = 0; i < 20000; ++i) mixed += static_cast<char>('a' + (i * i / 7) % 23);
  for (RarPacking packing : {RarPacking::kCompress, RarPacking::kSolid}) {
    SCOPED_TRACE(static_cast<int>(packing));
    const std::string name = dir + "packed" + std::to_string(static_cast<int>(packing)) + ".rar";
    WriteArchive(name, {File("good.txt", "fine"), File("bad.bin", mixed)}, packing, test_entries::kEdgeDictBits);
    std::string packed = harness::ReadFileBytes(name);
    packed[packed.size() - 60] ^= 0x08;  // inside the last entry's packed data, before the end block
    harness::WriteFileBytes(name, packed);
    const Listing damaged = ReadWithDll(name, RAR_EXTRACT, dir + "packed");
    ASSERT_EQ(damaged.entries.size(), 2u);
    EXPECT_EQ(damaged.entries[1].code, ERAR_BAD_DATA);
    EXPECT_FALSE(harness::FileExists(dir + "packed\\bad.bin"));
  }

  // A cut-off archive ends with an error, not with the end of the archive.
  harness::WriteFileBytes(dir + "cut.rar", bytes.substr(0, bytes.find(data) + 100));
  const Listing cut = ReadWithDll(dir + "cut.rar", RAR_EXTRACT, dir + "cut");
  ASSERT_EQ(cut.entries.size(), 2u);
  EXPECT_NE(cut.entries[1].code, 0);
  EXPECT_FALSE(harness::FileExists(dir + "cut\\bad.bin"));
  EXPECT_NE(cut.endCode, ERAR_END_ARCHIVE);
}

// Entry paths that try to leave the destination land inside it or are
// refused; nothing appears outside.
TEST_F(UnrarDll, HostileNamesStayInsideTheDestination) {
  const std::string dir = harness::TestDir();
  const std::string dest = dir + "deep\\dest\\";
  const std::string path =
      WriteArchive(dir + "hostile.rar",
                   {File("..\\..\\x1", "1"), File("\\x2", "2"), File("C:\\x3", "3"), File("a\\..\\..\\x4", "4"),
                    File("../../x5", "5"), File("..", "6"), File("C:..\\x7", "7"), File("\\\\server\\share\\x8", "8")});
  const Listing dll = ReadWithDll(path, RAR_EXTRACT, dest);
  ASSERT_EQ(dll.entries.size(), 8u);
  for (const char* inside : {"x1", "x2", "x3", "a\\x4", "x5", "x7", "server\\share\\x8"})
    EXPECT_TRUE(harness::FileExists(dest + inside)) << inside;
  EXPECT_EQ(dll.entries[5].code, ERAR_ECREATE);  // nothing left of ".."
  for (const char* outside : {"x1", "x2", "x4", "x5", "deep\\x1", "deep\\x4", "deep\\x5", "x7"}) {
    EXPECT_FALSE(harness::FileExists(dir + outside)) << outside;
  }
  for (const char* root : {"C:\\x1", "C:\\x2", "C:\\x3", "C:\\x4", "C:\\x7", "C:\\zxtests\\x1"})
    EXPECT_FALSE(harness::FileExists(root)) << root;
}

// A name longer than the record's field is cut there, NUL included; the file
// is still written under its whole name.
TEST_F(UnrarDll, LongNameIsCutInTheHeaderOnly) {
  std::string name;
  for (int i = 0; i < 6; ++i) name += std::string(45, static_cast<char>('a' + i)) + "\\";
  name += "file.txt";  // 284 bytes
  const std::string dir = harness::TestDir();
  const std::string path = WriteArchive(dir + "long.rar", {File(name, "long")});
  const Listing dll = ReadWithDll(path, RAR_EXTRACT, dir + "d");
  ASSERT_EQ(dll.entries.size(), 1u);
  EXPECT_EQ(dll.entries[0].code, 0);
  EXPECT_EQ(std::string(dll.entries[0].header.FileName), name.substr(0, 259));
  const std::string full = "\\\\?\\" + dir + "d\\" + name;
  std::wstring wide(full.begin(), full.end());
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}
