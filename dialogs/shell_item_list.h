#pragma once
// An item identifier list the shell handed out, freed through the shell's
// task allocator once its owner goes.
#include <windows.h>
#include <shlobj.h>

#include <utility>

class ShellItemList {
 public:
  ShellItemList() = default;
  ShellItemList(IMalloc* allocator, LPITEMIDLIST items) : allocator_(allocator), items_(items) {
    if (allocator_) allocator_->AddRef();
  }
  ShellItemList(const ShellItemList&) = delete;
  ShellItemList& operator=(const ShellItemList&) = delete;
  ShellItemList(ShellItemList&& o) noexcept
      : allocator_(std::exchange(o.allocator_, nullptr)), items_(std::exchange(o.items_, nullptr)) {}
  ~ShellItemList() {
    if (items_ && allocator_) allocator_->Free(items_);
    if (allocator_) allocator_->Release();
  }
  LPITEMIDLIST Get() const { return items_; }

 private:
  IMalloc* allocator_ = nullptr;
  LPITEMIDLIST items_ = nullptr;
};
