// The C++ allocation functions of a program, replaced so that every block
// goes through the memory manager in force (memory_manager.h). Linked only
// into the programs that want it: the installer, and the tests of the wrapper.
#include <new>

#include "support/memory_manager.h"

namespace {

void* Allocate(size_t size) {
  if (size == 0) size = 1;
  for (;;) {
    if (void* block = GetMem(size)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* AllocateNoThrow(size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}

void Release(void* block) noexcept {
  if (block != nullptr) FreeMem(block);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return AllocateNoThrow(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return AllocateNoThrow(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, size_t) noexcept { Release(block); }
void operator delete[](void* block, size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }
