#include "dialogs/progress_scale.h"

#include <limits>

namespace {
const std::uint64_t kMaxUnits = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
}

unsigned ProgressShift(std::uint64_t total) {
  unsigned shift = 0;
  while ((total >> shift) > kMaxUnits) ++shift;
  return shift;
}

std::int32_t ProgressUnits(std::uint64_t bytes, unsigned shift) {
  const std::uint64_t units = bytes >> shift;
  return static_cast<std::int32_t>(units > kMaxUnits ? kMaxUnits : units);
}

bool DrawEntryNow(std::uint64_t entrySize, std::uint32_t msSinceDrawn) {
  const std::uint64_t kLargeEntry = 4 << 20;
  const std::uint32_t kIntervalMs = 40;
  return entrySize >= kLargeEntry || msSinceDrawn >= kIntervalMs;
}
