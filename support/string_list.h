#pragma once
// Ordered, unsorted string lists that accept duplicates and search without
// regard to letter case, and the line format every text list is kept in.
#include <string>
#include <vector>

// Cuts a text into lines: a line ends at CR, LF or the end; after it one CR
// and then one LF are skipped, so CR LF, LF and CR each end one line. A break
// at the very end starts no further line; a NUL byte ends the text.
std::vector<std::string> SplitLines(const std::string& text);

// The parts of a name=value line: the text before the first "=" (empty when
// there is none) and the text after it.
std::string LineName(const std::string& line);
std::string LineValue(const std::string& line);

class StringList {
 public:
  StringList() = default;
  explicit StringList(std::vector<std::string> items) : items_(std::move(items)) {}

  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  const std::string& operator[](size_t i) const { return items_[i]; }
  const std::vector<std::string>& Items() const { return items_; }
  std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
  std::vector<std::string>::const_iterator end() const { return items_.end(); }

  void Add(const std::string& s) { items_.push_back(s); }
  void Clear() { items_.clear(); }

  // Index of the first entry equal to `s` without regard to case, or -1.
  int IndexOf(const std::string& s) const;
  bool Contains(const std::string& s) const { return IndexOf(s) >= 0; }

  // The value of the first line with "=" whose name equals `name` without
  // regard to case; empty when there is none.
  std::string Value(const std::string& name) const;

  // Every entry followed by CR LF; an empty list gives the empty text.
  std::string Text() const;
  // Replaces the entries with the lines of `text` (SplitLines).
  void SetText(const std::string& text) { items_ = SplitLines(text); }

 private:
  std::vector<std::string> items_;
};
