#include "support/free_notification.h"

TFreeNotifiersList* FreeNotifiers = nullptr;
TMemoryManager SavedMemoryManager = {};

namespace {

void* WrapperGetMem(size_t size) { return SavedMemoryManager.GetMem(size); }

// Released first, then reported: a listener never sees a block that is still
// allocated. The result is the saved routine's, so a failed release still
// reaches the caller as before.
int WrapperFreeMem(void* block) {
  const int result = SavedMemoryManager.FreeMem(block);
  if (FreeNotifiers != nullptr) FreeNotifiers->Notify(block);
  return result;
}

// A block that moves is not reported.
void* WrapperReallocMem(void* block, size_t size) { return SavedMemoryManager.ReallocMem(block, size); }

}  // namespace

void InstallFreeNotification() {
  if (FreeNotifiers != nullptr) return;
  FreeNotifiers = new TFreeNotifiersList;
  // Nothing is allocated or released from here to the switch.
  const TMemoryManager& runTime = RunTimeMemoryManager();
  SavedMemoryManager = GetMemoryManager();
  if (SavedMemoryManager.GetMem == nullptr) SavedMemoryManager.GetMem = runTime.GetMem;
  if (SavedMemoryManager.FreeMem == nullptr) SavedMemoryManager.FreeMem = runTime.FreeMem;
  if (SavedMemoryManager.ReallocMem == nullptr) SavedMemoryManager.ReallocMem = runTime.ReallocMem;
  SetMemoryManager({WrapperGetMem, WrapperFreeMem, WrapperReallocMem});
}

void RemoveFreeNotification() {
  if (FreeNotifiers == nullptr) return;
  // The saved manager first: the entries destroyed below notify nobody.
  SetMemoryManager(SavedMemoryManager);
  TFreeNotifiersList::FreeAll(FreeNotifiers);
}
