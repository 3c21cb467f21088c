// The header walk of our RAR library over any bytes: it must end, stay in
// bounds and list no more entries than the bytes can hold.
#include <cstring>
#include <stdexcept>

#include "unrar/rar_headers.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::size_t reads = 0;
  const std::vector<ScannedEntry> entries =
      ScanRarHeaders([&](std::uint64_t offset, void* buffer, std::size_t n) -> std::size_t {
        ++reads;
        if (offset >= size) return 0;
        const std::size_t got = n < size - offset ? n : static_cast<std::size_t>(size - offset);
        std::memcpy(buffer, data + offset, got);
        return got;
      });
  // Every header takes at least 7 bytes and two reads.
  if (entries.size() > size / 7 + 1 || reads > 2 * (size / 7 + 2)) throw std::logic_error("walk did not move forward");
  return 0;
}
