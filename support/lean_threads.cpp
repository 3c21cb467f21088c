// Linked with lean_runtime.cpp into what ships. The C++ runtime's exception
// support calls eight POSIX thread functions (the emergency pool's lock, and
// the emulated thread-local storage that holds each thread's exceptions in
// flight); the cross compiler's thread library that would answer them brings
// about 30 KB of thread machinery these one-thread programs never use. These
// answer them over Win32 directly, correct on any thread all the same.
// Types as the thread library's header gives them (not included: it declares
// the functions for import).
#include <windows.h>

#include <cerrno>
#include <cstdint>

extern "C" {
using pthread_mutex_t = intptr_t;
using pthread_once_t = long;
using pthread_key_t = unsigned;

// A lock that spins and yields: both users hold it for a few instructions.
// Free is 0 (what init writes) or -1 (the runtime's static initializer).
int pthread_mutex_init(pthread_mutex_t* mutex, const void*) {
  *mutex = 0;
  return 0;
}
int pthread_mutex_destroy(pthread_mutex_t*) { return 0; }
int pthread_mutex_lock(pthread_mutex_t* mutex) {
  auto* slot = reinterpret_cast<void* volatile*>(mutex);
  for (;;) {
    void* seen = *slot;
    if (seen != reinterpret_cast<void*>(1) &&
        InterlockedCompareExchangePointer(slot, reinterpret_cast<void*>(1), seen) == seen) {
      return 0;
    }
    SwitchToThread();
  }
}
int pthread_mutex_unlock(pthread_mutex_t* mutex) {
  InterlockedExchangePointer(reinterpret_cast<void* volatile*>(mutex), nullptr);
  return 0;
}

// 0: not run; 1: running on some thread; 2: done.
int pthread_once(pthread_once_t* once, void (*init)(void)) {
  auto* state = reinterpret_cast<volatile LONG*>(once);
  if (*state != 2 && InterlockedCompareExchange(state, 1, 0) == 0) {
    init();
    InterlockedExchange(state, 2);
  }
  while (*state != 2) SwitchToThread();
  return 0;
}

// The destructor is not kept: it frees a thread's storage when the thread
// ends, and only the main thread of these programs has any.
int pthread_key_create(pthread_key_t* key, void (*)(void*)) {
  DWORD index = TlsAlloc();
  if (index == TLS_OUT_OF_INDEXES) return EAGAIN;
  *key = index;
  return 0;
}
// TlsGetValue clears the thread's last error: a caller between a failed
// call and its GetLastError must not see that.
void* pthread_getspecific(pthread_key_t key) {
  DWORD error = GetLastError();
  void* value = TlsGetValue(key);
  SetLastError(error);
  return value;
}
int pthread_setspecific(pthread_key_t key, const void* value) {
  return TlsSetValue(key, const_cast<void*>(value)) ? 0 : EINVAL;
}
}  // extern "C"
