#include "support/worker_thread.h"

#include <utility>

WorkerThread::WorkerThread(std::function<void()> work) : work_(std::move(work)) {
  thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  if (!thread_) Run(this);
}

WorkerThread::~WorkerThread() { Wait(); }

DWORD WINAPI WorkerThread::Run(void* self) {
  auto* worker = static_cast<WorkerThread*>(self);
  try {
    worker->work_();
  } catch (...) {
    worker->error_ = std::current_exception();
  }
  return 0;
}

void WorkerThread::Wait() {
  if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
}

void WorkerThread::Join() {
  Wait();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}
