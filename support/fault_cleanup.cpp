#include "support/fault_cleanup.h"

namespace {
FaultCleanup* top = nullptr;  // the newest registered; one thread
}

FaultCleanup::FaultCleanup(std::function<void()> action) : action_(std::move(action)), below_(top) { top = this; }

FaultCleanup::~FaultCleanup() {
  // Owners end in reverse order of their start, but a fault may already have
  // taken this one off.
  for (FaultCleanup** p = &top; *p; p = &(*p)->below_)
    if (*p == this) {
      *p = below_;
      break;
    }
}

void FaultCleanup::RunAll() {
  while (FaultCleanup* f = top) {
    top = f->below_;
    if (f->action_) f->action_();
  }
}
