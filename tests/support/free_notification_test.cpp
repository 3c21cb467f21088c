// The free-notification wrapper in front of the memory manager: every
// request forwarded with its result, the release before its listeners, and
// the previous manager back in force afterwards. This program routes its own
// C++ allocation through the manager, as the installer does.
#include "support/free_notification.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A manager below the wrapper that forwards to the run time and writes down
// each call in a fixed table (it must not allocate).
enum Op { kGet, kFree, kRealloc, kListener };
struct Call {
  Op op;
  void* block;
  size_t size;
};
Call calls[64];
int callCount = 0;
int freeResult = 0;  // what a release answers, to see it passed on

void Record(Op op, void* block, size_t size) {
  if (callCount < 64) calls[callCount++] = {op, block, size};
}

void* RecordedGet(size_t size) {
  void* block = std::malloc(size);
  Record(kGet, block, size);
  return block;
}
int RecordedFree(void* block) {
  Record(kFree, block, 0);
  std::free(block);
  return freeResult;
}
void* RecordedRealloc(void* block, size_t size) {
  Record(kRealloc, block, size);
  return std::realloc(block, size);
}
const TMemoryManager kRecorder = {RecordedGet, RecordedFree, RecordedRealloc};

void Listened(void*, void* address) { Record(kListener, address, 0); }

class Wrapper : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = GetMemoryManager();
    SetMemoryManager(kRecorder);
    freeResult = 0;
  }
  void TearDown() override {
    RemoveFreeNotification();
    SetMemoryManager(previous_);
  }
  // The calls made since the last Reset, read only after the work is done.
  static void Reset() { callCount = 0; }

 private:
  TMemoryManager previous_{};
};

}  // namespace

TEST_F(Wrapper, ForwardsEveryRequestWithItsResult) {
  InstallFreeNotification();
  ASSERT_NE(FreeNotifiers, nullptr);
  EXPECT_EQ(SavedMemoryManager.FreeMem, RecordedFree);
  EXPECT_NE(GetMemoryManager().FreeMem, RecordedFree);
  Reset();
  void* block = GetMem(24);
  void* moved = ReallocMem(block, 4096);
  freeResult = 5;  // a release the manager below reports as failed
  const int released = FreeMem(moved);
  const int count = callCount;
  ASSERT_EQ(count, 3);
  EXPECT_EQ(calls[0].op, kGet);
  EXPECT_EQ(calls[0].block, block);
  EXPECT_EQ(calls[0].size, 24u);
  EXPECT_EQ(calls[1].op, kRealloc);
  EXPECT_EQ(calls[1].block, block);
  EXPECT_EQ(calls[1].size, 4096u);
  EXPECT_EQ(calls[2].op, kFree);
  EXPECT_EQ(calls[2].block, moved);
  EXPECT_EQ(released, 5);
}

TEST_F(Wrapper, CppReleaseHasExactlyThePlainEffect) {
  // The same new and delete, first under the recorder alone, then through the wrapper.
  Call plain[2];
  for (bool wrapped : {false, true}) {
    if (wrapped) InstallFreeNotification();
    Reset();
    int* volatile number = new int(7);  // volatile: the pair may not be optimised away
    delete number;
    const int count = callCount;
    ASSERT_EQ(count, 2) << "wrapped " << wrapped;
    EXPECT_EQ(calls[0].op, kGet);
    EXPECT_EQ(calls[1].op, kFree);
    EXPECT_EQ(calls[1].block, calls[0].block);
    if (!wrapped) {
      plain[0] = calls[0];
      plain[1] = calls[1];
    } else {
      EXPECT_EQ(calls[0].size, plain[0].size);
    }
  }
}

TEST_F(Wrapper, ReleasesBeforeTheListenersAndForgetsTheBlock) {
  InstallFreeNotification();
  void* block = GetMem(16);
  TFreeListener listener = {Listened, nullptr};
  auto* entry = new FreeNotifierEntry;
  entry->Address = block;
  entry->Callbacks.Insert(0, &listener);
  FreeNotifiers->Add(entry);
  Reset();
  FreeMem(block);
  const int count = callCount;
  const int left = FreeNotifiers->Count();
  // The entry's own release goes through the wrapper too, after the listener.
  ASSERT_GE(count, 2);
  EXPECT_EQ(calls[0].op, kFree);
  EXPECT_EQ(calls[0].block, block);
  EXPECT_EQ(calls[1].op, kListener);
  EXPECT_EQ(calls[1].block, block);
  EXPECT_EQ(left, 0);
}

TEST_F(Wrapper, RemovalRestoresTheManagerAndNotifiesNobody) {
  InstallFreeNotification();
  const TMemoryManager wrapper = GetMemoryManager();
  InstallFreeNotification();  // once only
  EXPECT_EQ(GetMemoryManager().FreeMem, wrapper.FreeMem);
  EXPECT_EQ(SavedMemoryManager.FreeMem, RecordedFree);
  TFreeListener listener = {Listened, nullptr};
  static char watched[8];
  auto* entry = new FreeNotifierEntry;
  entry->Address = watched;
  entry->Callbacks.Insert(0, &listener);
  FreeNotifiers->Add(entry);
  Reset();
  RemoveFreeNotification();
  const int count = callCount;
  EXPECT_EQ(FreeNotifiers, nullptr);
  EXPECT_EQ(GetMemoryManager().FreeMem, RecordedFree);
  for (int i = 0; i < count; ++i) EXPECT_NE(calls[i].op, kListener);
  EXPECT_GE(count, 2);  // the entry and the list, released under the recorder
}

TEST_F(Wrapper, MissingRoutinesAreTheRunTimes) {
  // Getting a block cannot be missing here: the wrapper's own list needs one.
  SetMemoryManager({RecordedGet, nullptr, nullptr});
  InstallFreeNotification();
  EXPECT_EQ(SavedMemoryManager.GetMem, RecordedGet);
  EXPECT_EQ(SavedMemoryManager.FreeMem, RunTimeMemoryManager().FreeMem);
  EXPECT_EQ(SavedMemoryManager.ReallocMem, RunTimeMemoryManager().ReallocMem);
  void* block = GetMem(8);
  EXPECT_NE(block, nullptr);
  EXPECT_EQ(FreeMem(block), 0);
}
