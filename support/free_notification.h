#pragma once
// Free notifications: a wrapper in front of the memory manager that reports
// the release of a watched block to its listeners (sorted_list.h). Nothing
// in the installer watches a block, so every release ends at the emptiness
// test of the list; the wrapper must still forward every request unchanged.
#include "support/memory_manager.h"
#include "support/sorted_list.h"

// The watched blocks; exists exactly while the wrapper is in force.
extern TFreeNotifiersList* FreeNotifiers;
// The manager the wrapper forwards to.
extern TMemoryManager SavedMemoryManager;

// Puts the wrapper in front of the manager in force (once; a second call
// does nothing) and takes it away again, forgetting every watched block.
void InstallFreeNotification();
void RemoveFreeNotification();

// The wrapper in force for the lifetime of the object: the installer's whole run.
class FreeNotificationScope {
 public:
  FreeNotificationScope() { InstallFreeNotification(); }
  ~FreeNotificationScope() { RemoveFreeNotification(); }
  FreeNotificationScope(const FreeNotificationScope&) = delete;
  FreeNotificationScope& operator=(const FreeNotificationScope&) = delete;
};
