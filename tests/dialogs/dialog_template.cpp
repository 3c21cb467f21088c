#include "tests/dialogs/dialog_template.h"

namespace {

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  size_t offset() const { return pos_; }

  std::uint16_t Word() { return static_cast<std::uint16_t>(Bytes(2)); }
  std::uint32_t Dword() { return static_cast<std::uint32_t>(Bytes(4)); }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Bytes(1)); }
  std::int16_t Short() { return static_cast<std::int16_t>(Word()); }

  // A NUL-terminated UTF-16 string; the templates hold ASCII only.
  std::string String() {
    std::string s;
    for (std::uint16_t c = Word(); ok_ && c != 0; c = Word()) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
  }
  // Empty (0), an ordinal (0xFFFF n) or a string.
  std::string NameOrOrdinal() {
    const std::uint16_t first = Word();
    if (first == 0) return std::string();
    if (first == 0xFFFF) return "#" + std::to_string(Word());
    pos_ -= 2;
    return String();
  }
  void AlignToDword() {
    while (ok_ && pos_ % 4 != 0 && pos_ < bytes_.size()) ++pos_;
  }

 private:
  std::uint64_t Bytes(size_t n) {
    if (!ok_ || pos_ + n > bytes_.size()) {
      ok_ = false;
      return 0;
    }
    std::uint64_t v = 0;
    for (size_t i = 0; i < n; ++i)
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += n;
    return v;
  }

  const std::string& bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace

bool ParseDialogTemplate(const std::string& bytes, DialogTemplate& t, std::string* error) {
  Reader r(bytes);
  t.version = r.Word();
  t.signature = r.Word();
  t.helpId = r.Dword();
  t.exStyle = r.Dword();
  t.style = r.Dword();
  const std::uint16_t count = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  t.menu = r.NameOrOrdinal();
  t.windowClass = r.NameOrOrdinal();
  t.title = r.String();
  t.pointSize = r.Word();
  t.weight = r.Word();
  t.italic = r.Byte();
  t.charset = r.Byte();
  t.typeface = r.String();
  t.items.clear();
  for (std::uint16_t i = 0; i < count && r.ok(); ++i) {
    r.AlignToDword();
    DialogItem item;
    item.helpId = r.Dword();
    item.exStyle = r.Dword();
    item.style = r.Dword();
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = r.Dword();
    item.windowClass = r.NameOrOrdinal();
    item.text = r.NameOrOrdinal();
    item.extraCount = r.Word();
    t.items.push_back(item);
  }
  if (!r.ok() && error) *error = "template ends early near offset " + std::to_string(r.offset());
  return r.ok();
}
