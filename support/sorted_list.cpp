#include "support/sorted_list.h"

#include "support/errors.h"

namespace {

// A three-way comparison: subtracting would overflow for items far apart.
template <typename T>
int32_t Compare(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

// Watched blocks may lie above 2 GB (a 64-bit process), so addresses compare unsigned.
int32_t CompareAddresses(const void* a, const void* b) {
  return Compare(reinterpret_cast<uintptr_t>(a), reinterpret_cast<uintptr_t>(b));
}

const FreeNotifierEntry* Entry(const void* item) { return static_cast<const FreeNotifierEntry*>(item); }

}  // namespace

void* TFastList::Items(int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  return items_[index];
}

void TFastList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) throw ListIndexError(index);
  items_.insert(items_.begin() + index, item);
}

void TFastList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  items_.erase(items_.begin() + index);
}

int TFastList::IndexOf(const void* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i] == item) return i;
  return -1;
}

int32_t TCustomSortedList::CompareKey(const void* item, const void* key) const {
  return Compare(reinterpret_cast<intptr_t>(item), reinterpret_cast<intptr_t>(key));
}

int32_t TCustomSortedList::CompareItems(const void* item1, const void* item2) const {
  return Compare(reinterpret_cast<intptr_t>(item1), reinterpret_cast<intptr_t>(item2));
}

// Ends with `index` at the first item not below the target, except that
// without DuplicatesAllowed the first equal item met stops the search.
template <typename Compare>
bool TCustomSortedList::Search(const void* target, int& index, Compare compare) const {
  int lo = 0;
  int hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = static_cast<int>((static_cast<unsigned>(lo) + static_cast<unsigned>(hi)) >> 1);
    const int32_t c = compare(List.Items(mid), target);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (DuplicatesAllowed != 1) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

int TCustomSortedList::IndexOfKey(const void* key) const {
  if (IsSorted) {
    int index;
    return FindKey(key, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareKey(List.Items(i), key) == 0) return i;
  return -1;
}

bool TCustomSortedList::FindKey(const void* key, int& index) const {
  if (IsSorted) return Search(key, index, [this](const void* item, const void* k) { return CompareKey(item, k); });
  index = IndexOfKey(key);
  return index >= 0;
}

bool TCustomSortedList::FindItem(const void* item, int& index) const {
  if (IsSorted) return Search(item, index, [this](const void* a, const void* b) { return CompareItems(a, b); });
  index = List.IndexOf(item);
  return index >= 0;
}

int TCustomSortedList::Remove(void* item) {
  int index;
  if (!FindItem(item, index)) return -1;
  Delete(index);
  return index;
}

void* TCustomSortedList::Lookup(const TCustomSortedList* list, const void* key) {
  if (list == nullptr || list->Count() == 0) return nullptr;
  const int index = list->IndexOfKey(key);
  return index >= 0 ? list->Items(index) : nullptr;
}

int TCustomSortedList::Add(void* item) {
  int index;
  FindItem(item, index);
  if (index < 0) index = Count();  // unsorted and not there: at the end
  List.Insert(index, item);
  return index;
}

int32_t TFreeNotifiersList::CompareKey(const void* item, const void* key) const {
  return CompareAddresses(Entry(item)->Address, key);
}

int32_t TFreeNotifiersList::CompareItems(const void* item1, const void* item2) const {
  return CompareAddresses(Entry(item1)->Address, Entry(item2)->Address);
}

void TFreeNotifiersList::Notify(void* address) {
  auto* entry = static_cast<FreeNotifierEntry*>(Lookup(this, address));
  if (entry == nullptr) return;
  // Out of the list before any listener runs, so a listener that frees
  // blocks meets a consistent list.
  Remove(entry);
  TFastList& callbacks = entry->Callbacks;
  int i = 0;
  while (i < callbacks.Count()) {
    auto* listener = static_cast<TFreeListener*>(callbacks.Items(i));
    if (listener != nullptr) listener->Code(listener->Data, entry->Address);
    // A listener that removed itself leaves the next one at the same index.
    if (i < callbacks.Count() && callbacks.Items(i) == listener) ++i;
  }
  delete entry;
}

void TFreeNotifiersList::FreeAll(TFreeNotifiersList*& list) {
  if (list == nullptr) return;
  while (list->Count() > 0) {
    auto* entry = static_cast<FreeNotifierEntry*>(list->Items(0));
    list->Delete(0);
    delete entry;
  }
  delete list;
  list = nullptr;
}
