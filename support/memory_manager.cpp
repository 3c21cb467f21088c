#include "support/memory_manager.h"

#include <cstdlib>

namespace {

void* RunTimeGetMem(size_t size) { return std::malloc(size); }
int RunTimeFreeMem(void* block) {
  std::free(block);
  return 0;
}
void* RunTimeReallocMem(void* block, size_t size) { return std::realloc(block, size); }

constexpr TMemoryManager kRunTime = {RunTimeGetMem, RunTimeFreeMem, RunTimeReallocMem};

// Constant-initialised: in force before any constructor of a static object
// allocates.
TMemoryManager current = kRunTime;

}  // namespace

const TMemoryManager& RunTimeMemoryManager() { return kRunTime; }
TMemoryManager GetMemoryManager() { return current; }
void SetMemoryManager(const TMemoryManager& manager) { current = manager; }

void* GetMem(size_t size) { return current.GetMem(size); }
int FreeMem(void* block) { return current.FreeMem(block); }
void* ReallocMem(void* block, size_t size) { return current.ReallocMem(block, size); }
