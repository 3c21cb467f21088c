#pragma once
// Writes RAR 5 archives: what the installer-making tool packs a product's
// files into, stored or compressed (each file alone or as one solid stream).
// No system calls, so it is tested natively and read back there with
// libarchive.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "rarwriter/entry_packer.h"

struct RarEntry {
  // Path inside the archive, "\" or "/" between names, in the Windows
  // western code page (1252) unless `utf8Name`; written as UTF-8 as the
  // format wants.
  std::string name;
  bool utf8Name = false;
  std::string data;  // a file's bytes; folders have none
  bool folder = false;
  std::uint32_t attributes = 0x20;  // Win32 attribute bits; 0x10 is added for folders
  std::uint32_t dosTime = 0;        // DOS date and time, taken as UTC; 0 writes no time
};

// How far the writing is: files and their bytes written, and in all.
struct RarProgress {
  std::size_t filesDone = 0, files = 0;
  std::uint64_t bytesDone = 0, bytes = 0;
};

struct RarOptions {
  RarPacking packing = RarPacking::kStore;
  // The readers' largest window, 2^dictBits bytes (17 to 26): a solid
  // stream, or a file alone, gets one twice its size, at most this.
  unsigned dictBits = EntryPacker::kDefaultDictBits;
  // Called after each file, when given.
  std::function<void(const RarProgress&)> progress;
};

struct RarSizes {
  std::uint64_t unpacked = 0;  // the files' bytes
  std::uint64_t packed = 0;    // their data areas in the archive
};

// The whole archive, entries in the given order, except that a file packed
// alone which repeats an earlier file byte for byte follows that file;
// `sizes` (when given) sums up the files.
std::string WriteRarArchive(const std::vector<RarEntry>& entries, const RarOptions& options = {},
                            RarSizes* sizes = nullptr);

// Bytes in code page 1252 as UTF-8 (the code points Windows gives the five
// unassigned bytes are kept, so every byte has an image).
std::string Cp1252ToUtf8(const std::string& ansi);

// Seconds since 1970 (UTC) of a DOS date and time.
std::int64_t DosTimeToUnix(std::uint32_t dosTime);
// The DOS date and time of seconds since 1970, rounded down to 2 seconds;
// 0 before 1980 or after 2107.
std::uint32_t UnixToDosTime(std::int64_t seconds);
