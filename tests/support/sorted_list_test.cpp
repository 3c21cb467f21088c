// Sorted object lists: the binary search's exact index, the linear mode,
// and the listeners of a watched block.
#include "support/sorted_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "support/errors.h"

namespace {

void* P(intptr_t value) { return reinterpret_cast<void*>(value); }

// Items appended in the order given, whatever it is.
void Fill(TCustomSortedList& list, std::initializer_list<intptr_t> items) {
  for (intptr_t item : items) list.List.Insert(list.Count(), P(item));
}

struct Search {
  std::initializer_list<intptr_t> items;
  uint8_t duplicates;
  intptr_t key;
  bool found;
  int index;
};

}  // namespace

TEST(SortedList, BinarySearchIndex) {
  const Search cases[] = {
      {{}, 0, 20, false, 0},
      {{10, 20, 30}, 0, 20, true, 1},
      {{10, 20, 30}, 0, 25, false, 2},
      {{10, 20, 30}, 0, 5, false, 0},
      {{10, 20, 30}, 0, 35, false, 3},
      {{10, 20, 30}, 0, 10, true, 0},
      {{10, 20, 30}, 0, 30, true, 2},
      {{10, 20, 20, 20, 30}, 1, 20, true, 1},  // the lowest equal position
      {{10, 20, 20, 20, 30}, 0, 20, true, 2},  // the first equal item met
      {{10, 20, 20, 20, 30}, 2, 20, true, 2},  // only 1 means duplicates
      {{20, 20, 20, 20}, 1, 20, true, 0},
      {{20, 20, 20, 20}, 1, 21, false, 4},
  };
  for (const Search& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " duplicates " << int(c.duplicates) << " in "
                                    << c.items.size() << " items");
    TCustomSortedList list;
    list.DuplicatesAllowed = c.duplicates;
    Fill(list, c.items);
    int index = -7;
    EXPECT_EQ(list.FindKey(P(c.key), index), c.found);
    EXPECT_EQ(index, c.index);
    index = -7;
    EXPECT_EQ(list.FindItem(P(c.key), index), c.found);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(list.IndexOfKey(P(c.key)), c.found ? c.index : -1);
    EXPECT_EQ(TCustomSortedList::Lookup(&list, P(c.key)), c.found ? P(c.key) : nullptr);
  }
}

TEST(SortedList, ItemsFarApartStillCompareInOrder) {
  // Subtracting these as 32-bit integers would give the wrong sign.
  TCustomSortedList list;
  Fill(list, {INT32_MIN, -1, 0, INT32_MAX});
  int index;
  EXPECT_TRUE(list.FindKey(P(INT32_MAX), index));
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(list.FindKey(P(INT32_MIN), index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list.FindKey(P(1), index));
  EXPECT_EQ(index, 3);
}

TEST(SortedList, UnsortedSearchesLinearly) {
  TCustomSortedList list;
  list.IsSorted = false;
  Fill(list, {30, 10, 20, 10});
  int index = 0;
  EXPECT_EQ(list.IndexOfKey(P(10)), 1);
  EXPECT_TRUE(list.FindKey(P(20), index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.FindKey(P(25), index));
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(list.FindItem(P(10), index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(TCustomSortedList::Lookup(&list, P(30)), P(30));
  EXPECT_EQ(TCustomSortedList::Lookup(&list, P(5)), nullptr);
  EXPECT_EQ(list.Add(P(5)), 4);  // not there: appended
}

TEST(SortedList, RemoveAddAndIndexErrors) {
  TCustomSortedList list;
  for (intptr_t item : {30, 10, 20, 40}) list.Add(P(item));
  ASSERT_EQ(list.Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.Items(i), P(10 * (i + 1)));
  EXPECT_EQ(list.Remove(P(30)), 2);
  EXPECT_EQ(list.Remove(P(30)), -1);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(2), P(40));
  EXPECT_THROW(list.Items(3), ListIndexError);
  EXPECT_THROW(list.Items(-1), ListIndexError);
  EXPECT_THROW(list.Delete(3), ListIndexError);
  EXPECT_EQ(TCustomSortedList::Lookup(nullptr, P(10)), nullptr);
}

namespace {

// Records each call; may remove a listener (itself or another) while it runs.
struct Probe {
  TFreeNotifiersList* list = nullptr;
  FreeNotifierEntry* entry = nullptr;
  std::vector<int> calls;
  std::vector<void*> addresses;
  bool entryWasListed = true;
};

struct Listener {
  TFreeListener method;
  Probe* probe;
  int id;
  const Listener* removes = nullptr;  // at its call, takes this one out of Callbacks
};

void Called(void* data, void* address) {
  auto* self = static_cast<Listener*>(data);
  Probe& probe = *self->probe;
  probe.calls.push_back(self->id);
  probe.addresses.push_back(address);
  probe.entryWasListed = TCustomSortedList::Lookup(probe.list, address) != nullptr;
  if (self->removes) {
    TFastList& callbacks = probe.entry->Callbacks;
    callbacks.Delete(callbacks.IndexOf(&self->removes->method));
  }
}

// An entry for `address` with listeners 1..n; `removals` maps listener id to the id it removes.
struct Watch {
  Probe probe;
  std::vector<Listener> listeners;
  Watch(TFreeNotifiersList& list, void* address, int n, std::vector<std::pair<int, int>> removals = {}) {
    listeners.resize(n);
    probe.list = &list;
    probe.entry = new FreeNotifierEntry;
    probe.entry->Address = address;
    for (int i = 0; i < n; ++i) {
      listeners[i] = {{Called, &listeners[i]}, &probe, i + 1};
      probe.entry->Callbacks.Insert(i, &listeners[i].method);
    }
    for (auto [who, whom] : removals) listeners[who - 1].removes = &listeners[whom - 1];
    list.Add(probe.entry);
  }
};

}  // namespace

TEST(FreeNotifiers, EachListenerOnceEvenWhenOneRemovesItself) {
  struct Case {
    int listeners;
    std::vector<std::pair<int, int>> removals;
    std::vector<int> calls;
  };
  const Case cases[] = {
      {3, {}, {1, 2, 3}},       {3, {{1, 1}}, {1, 2, 3}},  // the first removes itself: the second is not skipped
      {3, {{2, 2}}, {1, 2, 3}}, {3, {{3, 3}}, {1, 2, 3}},  // the last removes itself: the loop ends
      {1, {{1, 1}}, {1}},       {3, {{1, 1}, {2, 2}, {3, 3}}, {1, 2, 3}},
      {3, {{2, 1}}, {1, 2, 3}},  // one that removes an earlier listener
      {3, {{1, 2}}, {1, 3}},     // one that removes a later listener: it is not called
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.listeners << " listeners, " << c.removals.size() << " removals");
    auto* list = new TFreeNotifiersList;
    Watch watch(*list, P(0x2000), c.listeners, c.removals);
    list->Notify(P(0x2000));
    EXPECT_EQ(watch.probe.calls, c.calls);
    EXPECT_EQ(watch.probe.addresses, std::vector<void*>(c.calls.size(), P(0x2000)));
    EXPECT_FALSE(watch.probe.entryWasListed);  // out of the list before the listeners run
    EXPECT_EQ(list->Count(), 0);
    TFreeNotifiersList::FreeAll(list);
    EXPECT_EQ(list, nullptr);
  }
}

TEST(FreeNotifiers, OnlyTheReleasedBlocksListenersAndNullItemsSkipped) {
  auto* list = new TFreeNotifiersList;
  Watch high(*list, P(0x3000), 1);
  Watch low(*list, P(0x1000), 2);
  low.probe.entry->Callbacks.Insert(1, nullptr);
  list->Notify(P(0x2000));
  EXPECT_TRUE(high.probe.calls.empty());
  EXPECT_TRUE(low.probe.calls.empty());
  list->Notify(P(0x1000));
  EXPECT_EQ(low.probe.calls, (std::vector<int>{1, 2}));
  EXPECT_TRUE(high.probe.calls.empty());
  ASSERT_EQ(list->Count(), 1);
  // FreeAll destroys what is left without calling anyone.
  TFreeNotifiersList::FreeAll(list);
  EXPECT_TRUE(high.probe.calls.empty());
}

TEST(FreeNotifiers, OrderedByAddressAcrossTheWholeRange) {
  const uintptr_t top = ~uintptr_t{0};
  auto* list = new TFreeNotifiersList;
  const uintptr_t addresses[] = {top - 15, 0x10, top / 2 + 1, top / 2};
  std::vector<FreeNotifierEntry> entries(4);
  for (int i = 0; i < 4; ++i) {
    entries[i].Address = reinterpret_cast<void*>(addresses[i]);
    list->Add(&entries[i]);
  }
  const int order[] = {1, 3, 2, 0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list->Items(i), &entries[order[i]]) << i;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(TCustomSortedList::Lookup(list, entries[i].Address), &entries[i]);
  while (list->Count() > 0) list->Delete(0);  // the entries are not the list's
  TFreeNotifiersList::FreeAll(list);
}
