// Timings for bench/allocator.sh: what a release costs through the
// free-notification wrapper.
//   allocator_bench [BLOCKS] [ROUNDS]
// First the wrapper's own cost, over a release that does nothing (the heap's
// own cost varies with its state far more than the wrapper costs); then the
// whole release of heap blocks with and without the wrapper, for scale. Each
// way is timed once per round, the ways taking turns; the best round counts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "support/free_notification.h"

namespace {

int NoRelease(void*) { return 0; }

// Blocks watched at addresses no released block has: every release searches
// the list and finds nothing, as the other blocks of a watching program would.
std::vector<FreeNotifierEntry> watched(1000);
void Watch() {
  for (size_t i = 0; i < watched.size(); ++i) {
    watched[i].Address = reinterpret_cast<void*>(static_cast<uintptr_t>(8 * i + 1));
    FreeNotifiers->Add(&watched[i]);
  }
}
void Unwatch() {
  while (FreeNotifiers->Count() > 0) FreeNotifiers->Delete(0);
}

struct Way {
  const char* name;
  bool heap;       // real blocks, released into the heap; else a release that does nothing
  bool wrapper;    // through the wrapper; else straight to the release below it
  bool watching;   // 1000 blocks watched
  bool plainFree;  // free() called directly, not through the manager
};

const Way kWays[] = {
    {"manager, no wrapper", false, false, false, false},  {"wrapper, nothing watched", false, true, false, false},
    {"wrapper, 1000 watched", false, true, true, false},  {"free() itself", true, false, false, true},
    {"free() through wrapper", true, true, false, false},
};
const int kWayCount = sizeof kWays / sizeof kWays[0];

double ReleaseSeconds(const Way& way, std::vector<void*>& blocks) {
  const TMemoryManager before = GetMemoryManager();
  TMemoryManager below = RunTimeMemoryManager();
  if (!way.heap) below.FreeMem = NoRelease;
  SetMemoryManager(below);
  for (size_t i = 0; i < blocks.size(); ++i) blocks[i] = std::malloc(16 + (i * 37) % 240);
  // The heap hands freed blocks back in reverse order; released in address
  // order, every way meets the same pattern whatever ran before it.
  std::sort(blocks.begin(), blocks.end(), std::less<void*>());
  if (way.wrapper) InstallFreeNotification();
  if (way.watching) Watch();
  const auto start = std::chrono::steady_clock::now();
  if (way.plainFree) {
    for (void* block : blocks) std::free(block);
  } else {
    for (void* block : blocks) FreeMem(block);
  }
  const auto stop = std::chrono::steady_clock::now();
  if (way.watching) Unwatch();
  if (way.wrapper) RemoveFreeNotification();
  if (!way.heap)
    for (void* block : blocks) std::free(block);
  SetMemoryManager(before);
  return std::chrono::duration<double>(stop - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 200;
  std::vector<void*> blocks(count);
  double best[kWayCount];
  for (double& b : best) b = 1e9;
  for (int round = 0; round < rounds; ++round)
    for (int way = 0; way < kWayCount; ++way) best[way] = std::min(best[way], ReleaseSeconds(kWays[way], blocks));
  auto ns = [&](int way) { return best[way] * 1e9 / static_cast<double>(count); };
  std::printf("%-26s %12s %14s\n", "release through", "ns/release", "ns added");
  for (int way = 0; way < kWayCount; ++way) {
    if (way == 0) std::printf("-- the wrapper's own cost, over a release that does nothing\n");
    if (way == 3) std::printf("-- releasing heap blocks of 16 to 255 bytes\n");
    const int base = kWays[way].heap ? 3 : 0;
    std::printf("%-26s %12.2f %14.2f\n", kWays[way].name, ns(way), ns(way) - ns(base));
  }
  std::printf("(%lu blocks per round, best of %d rounds)\n", static_cast<unsigned long>(count), rounds);
  return 0;
}
