#pragma once
// Clean-up that must also run when a hardware fault (an access violation)
// ends the run, where no destructor runs: an owner registers what it would
// undo for as long as it lives, and the fault handler runs every registered
// action, the newest first, before it reports the failure.
#include <functional>

class FaultCleanup {
 public:
  explicit FaultCleanup(std::function<void()> action);
  ~FaultCleanup();
  FaultCleanup(const FaultCleanup&) = delete;
  FaultCleanup& operator=(const FaultCleanup&) = delete;

  // Runs and unregisters every registered action; each runs at most once.
  static void RunAll();

 private:
  std::function<void()> action_;
  FaultCleanup* below_;
};
