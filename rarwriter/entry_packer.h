#pragma once
// Chooses how each file entry's data is written: compressed (each file alone
// or all of them as one solid stream) or stored when compressing would not
// make it smaller.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rarwriter/lz_matcher.h"

enum class RarPacking { kStore, kCompress, kSolid };

class EntryPacker {
 public:
  // `dictBits`: the readers' window is at most 2^dictBits bytes; a solid
  // stream of `streamBytes` gets one twice its size when that is smaller
  // (the installer's reader holds twice the window, whatever it is used for).
  EntryPacker(RarPacking packing, unsigned dictBits, std::uint64_t streamBytes = UINT64_MAX);
  ~EntryPacker();

  // The compressed data area of the next file in `packed` and the file
  // header's compression field in `info`; false when the file is to be
  // stored (`info` still filled in).
  bool Pack(const std::string& data, std::string& packed, std::uint64_t& info);

  // A file packed alone whose bytes are those of the compressed file just
  // before it in the archive: coded as copies of that file, solid with it,
  // in the same window (readers keep a solid file's window).
  // `CanRepeat` says whether that window reaches back over a file of `size`
  // bytes and whether it is large enough to be worth it.
  static bool CanRepeat(std::size_t size, unsigned dictBits);
  static void PackRepeat(const std::string& data, unsigned dictBits, std::string& packed, std::uint64_t& info);

  // 32 MB: libarchive reads windows up to 64 MB; the installer's reader
  // holds two of the window's size.
  static constexpr unsigned kDefaultDictBits = 25;
  static constexpr unsigned kMinDictBits = 17, kMaxDictBits = 26;
  // Below this a repeat's tables cost about what packing the file does.
  static constexpr std::size_t kMinRepeatBytes = 256;

 private:
  RarPacking packing_;
  unsigned dictBits_;
  // Each file's coder starts from the prices the files before it left: a
  // small file is over before its own prices would settle.
  TokenPrices prices_;
  std::unique_ptr<LzMatcher> stream_;  // the solid stream's history
  // The code lengths of the tables the readers hold after the solid
  // stream's last block (none before its first compressed file, which
  // resets them).
  std::vector<std::uint8_t> held_;
  bool streamStarted_ = false;
};
