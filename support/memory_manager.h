#pragma once
// The program's memory manager: the three routines every block of the
// program's own allocation goes through (global_allocation.cpp routes the
// C++ allocation functions here). It can be replaced as a whole, so that a
// wrapper can stand in front of the one in force.
#include <cstddef>

struct TMemoryManager {
  void* (*GetMem)(size_t size);                   // null when no block can be had
  int (*FreeMem)(void* block);                    // 0 when the block was released
  void* (*ReallocMem)(void* block, size_t size);  // null when the block cannot be resized
};

// The run time's own routines (the C library's heap).
const TMemoryManager& RunTimeMemoryManager();

TMemoryManager GetMemoryManager();
void SetMemoryManager(const TMemoryManager& manager);

// Through the manager in force.
void* GetMem(size_t size);
int FreeMem(void* block);
void* ReallocMem(void* block, size_t size);
