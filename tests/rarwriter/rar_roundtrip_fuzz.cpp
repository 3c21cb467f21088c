// Fuzz target (libFuzzer): files made from the input, written in every
// packing and read back by libarchive byte for byte.
//   cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DZX_FUZZ=ON
//   cmake --build build/fuzz --target rar_roundtrip_fuzz && build/fuzz/bin/rar_roundtrip_fuzz -max_len=65536
#include <archive.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "rarwriter/rar_writer.h"
#include "tests/rarwriter/libarchive_read.h"

// Input: a control byte (packing, window, how many files, whether to
// stretch), then the bytes, cut into files. Stretching repeats the bytes
// with a changing byte in between, past the 128 KB window.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const unsigned control = data[0];
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if ((control & 0x80) && !bytes.empty()) {
    std::string stretched;
    for (unsigned i = 0; stretched.size() < (std::size_t{1} << 17) + 5000; ++i) {
      stretched += bytes;
      stretched += static_cast<char>(i);
    }
    bytes = stretched;
  }
  RarOptions options;
  options.packing = (control & 3) == 0   ? RarPacking::kStore
                    : (control & 3) == 1 ? RarPacking::kCompress
                                         : RarPacking::kSolid;
  options.dictBits = 17 + ((control >> 2) & 3);
  const std::size_t files = 1 + ((control >> 4) & 7);
  std::vector<RarEntry> entries;
  for (std::size_t i = 0; i < files; ++i) {
    RarEntry e;
    e.name = "f" + std::to_string(i);
    e.data = bytes.substr(bytes.size() * i / files, bytes.size() * (i + 1) / files - bytes.size() * i / files);
    entries.push_back(e);
  }
  const ReadResult r = ReadWithLibarchive(WriteRarArchive(entries, options));
  if (r.lastStatus != ARCHIVE_EOF || r.entries.size() != entries.size()) {
    std::fprintf(stderr, "read back failed: %s\n", r.error.c_str());
    std::abort();
  }
  // Twins are written after the file they repeat: compared by name.
  std::vector<bool> seen(entries.size());
  for (const ReadEntry& read : r.entries) {
    const std::size_t i = std::stoul(read.name.substr(1));
    if (i >= entries.size() || seen[i] || read.data != entries[i].data) {
      std::fprintf(stderr, "file %zu differs\n", i);
      std::abort();
    }
    seen[i] = true;
  }
  return 0;
}
