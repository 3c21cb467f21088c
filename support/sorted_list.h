#pragma once
// Object lists kept in ascending order and searched by binary search. The
// lists hold pointers and never own what they point to.
#include <cstdint>
#include <vector>

// A plain list of pointers. Items(i) and Delete(i) refuse an index outside
// 0..Count()-1 with ListIndexError.
class TFastList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  void* Items(int index) const;
  void Insert(int index, void* item);  // index 0..Count()
  void Delete(int index);
  int IndexOf(const void* item) const;  // the very pointer, or -1

 private:
  std::vector<void*> items_;
};

class TCustomSortedList {
 public:
  TCustomSortedList() = default;
  virtual ~TCustomSortedList() = default;
  TCustomSortedList(const TCustomSortedList&) = delete;
  TCustomSortedList& operator=(const TCustomSortedList&) = delete;

  int Count() const { return List.Count(); }
  void* Items(int index) const { return List.Items(index); }

  // The index of an item with this key, or -1.
  int IndexOfKey(const void* key) const;
  // Sorted: the binary search; `index` is where the key stands or would be
  // inserted. Unsorted: a linear search, `index` -1 when not found.
  bool FindKey(const void* key, int& index) const;
  // Sorted: the binary search by CompareItems. Unsorted: the very pointer.
  bool FindItem(const void* item, int& index) const;
  // The index the item had, or -1 when it was not found.
  int Remove(void* item);
  // The item with this key, or null; a null or empty list is answered before any search.
  static void* Lookup(const TCustomSortedList* list, const void* key);
  // Inserts at the index FindItem reports, which keeps the order; returns it.
  // Nothing in the installer registers entries: this serves the tests.
  int Add(void* item);

  // Negative, 0 or positive as the item sorts before, with or after the key.
  virtual int32_t CompareKey(const void* item, const void* key) const;
  virtual int32_t CompareItems(const void* item1, const void* item2) const;
  virtual void Delete(int index) { List.Delete(index); }

  TFastList List;
  // 1: equal keys may stand side by side and a search returns the lowest of
  // them; any other value: a search stops at the first equal item it meets.
  uint8_t DuplicatesAllowed = 0;
  bool IsSorted = true;

 private:
  template <typename Compare>
  bool Search(const void* target, int& index, Compare compare) const;
};

// A listener of one block's release: `Code` called with `Data` and the address.
struct TFreeListener {
  void (*Code)(void* data, void* address);
  void* Data;
};

// The listeners of one watched block. Callbacks holds TFreeListener pointers
// (a null item is skipped); the entry does not own them.
struct FreeNotifierEntry {
  void* Address = nullptr;
  TFastList Callbacks;
};

// Entries ordered by the address they watch.
class TFreeNotifiersList : public TCustomSortedList {
 public:
  int32_t CompareKey(const void* item, const void* key) const override;
  int32_t CompareItems(const void* item1, const void* item2) const override;

  // Calls every listener of the block at `address` once and forgets the
  // block. A listener may remove itself from Callbacks while it runs.
  void Notify(void* address);
  // Destroys every entry and the list, and sets `list` to null.
  static void FreeAll(TFreeNotifiersList*& list);
};
