#pragma once
// One owner per kind of Windows handle: each releases its handle on every
// path out of the scope that acquired it, exceptions included.
#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return h_; }
  bool Valid() const { return h_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  // For calls that return a handle through a pointer.
  Handle* Out() {
    Reset();
    return &h_;
  }
  Handle Release() { return std::exchange(h_, Traits::Invalid()); }
  void Reset(Handle h = Traits::Invalid()) {
    if (Valid()) Traits::Close(h_);
    h_ = h;
  }
  // Closes now, for a caller that must know whether closing worked (a file
  // whose last writes may fail only there); true when nothing was held.
  bool Close() {
    const bool ok = !Valid() || Traits::Close(h_);
    h_ = Traits::Invalid();
    return ok;
  }

 private:
  Handle h_ = Traits::Invalid();
};

struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static bool Close(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE h) { return CloseHandle(h) != 0; }
};
struct KernelObjectTraits {
  static HANDLE Invalid() { return nullptr; }
  static bool Close(HANDLE h) { return CloseHandle(h) != 0; }
};
struct LibraryTraits {
  static HMODULE Invalid() { return nullptr; }
  static bool Close(HMODULE h) { return FreeLibrary(h) != 0; }
};
struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static bool Close(HWND h) { return DestroyWindow(h) != 0; }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE h) { return FindClose(h) != 0; }
};

using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using FileHandle = UniqueHandle<HANDLE, FileTraits>;            // CreateFileA
using KernelHandle = UniqueHandle<HANDLE, KernelObjectTraits>;  // processes, threads
using LibraryHandle = UniqueHandle<HMODULE, LibraryTraits>;
using WindowHandle = UniqueHandle<HWND, WindowTraits>;
using FindHandle = UniqueHandle<HANDLE, FindTraits>;

// A COM interface pointer, released once.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void** OutVoid() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  T** Out() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};
