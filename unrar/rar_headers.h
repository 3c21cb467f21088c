#pragma once
// A walk over the block headers of a RAR 1.5-4.x or RAR 5 archive, for the
// record fields libarchive's reader does not give (packed size, CRC, host
// system, method) and for the data check it leaves out for stored RAR 5
// entries. Pure: it reads through `ReadAt`.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The method as RAR 4 headers give it (RAR 5's 0..5 are mapped onto it).
inline constexpr unsigned kMethodStored = 0x30;

struct ScannedEntry {
  std::string name;  // as stored: UTF-8 (RAR 5) or the archive's bytes (RAR 4)
  bool folder = false;
  std::uint64_t packSize = 0;
  std::uint64_t unpSize = 0;
  std::uint32_t crc = 0;
  bool hasCrc = false;  // a CRC of the whole file's data
  unsigned hostOS = 0;  // as the vendor's record: 0 MS-DOS, 2 Win32, 3 Unix
  unsigned unpVer = 0;
  unsigned method = 0;  // 0x30 stored .. 0x35 best
  std::uint32_t attributes = 0;
  bool encrypted = false;
  bool solid = false;
  bool splitBefore = false;
  bool splitAfter = false;
};

// Reads up to `size` bytes at `offset`; returns how many it read.
using ReadAt = std::function<std::size_t(std::uint64_t offset, void* buffer, std::size_t size)>;

// The file entries in archive order, as far as the headers can be read
// (none when the headers are encrypted or the archive is not RAR).
// `cutShort`, when given, tells whether the walk ended before the archive
// did: a header cut or damaged, or (RAR 5) no end-of-archive block. An
// archive cut between two entries reads as complete to libarchive.
std::vector<ScannedEntry> ScanRarHeaders(const ReadAt& read, bool* cutShort = nullptr);
