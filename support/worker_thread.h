#pragma once
// One piece of work on a thread of its own, beside the caller's: under Wine
// two threads that each wait on the server for every call get through their
// calls in about half the time of one. The work must touch nothing the
// caller changes meanwhile.
#include <windows.h>

#include <exception>
#include <functional>

#include "support/handles.h"

class WorkerThread {
 public:
  // Starts the work; when no thread can be made, does it here and now.
  explicit WorkerThread(std::function<void()> work);
  // Waits for the work (the error it raised, if any, is dropped).
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Waits for the work and raises again the error it raised.
  void Join();

 private:
  static DWORD WINAPI Run(void* self);
  void Wait();

  std::function<void()> work_;
  std::exception_ptr error_;
  KernelHandle thread_;
};
