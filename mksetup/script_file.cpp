#include "mksetup/script_file.h"

#include <algorithm>

#include "state/script_keys.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {

template <size_t N>
bool In(const char* const (&keys)[N], const std::string& key) {
  return std::any_of(std::begin(keys), std::end(keys), [&](const char* k) { return key == k; });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A quoted value with C escapes; the whole of `text` must be the quoted form
// (blanks around it aside).
bool Unquote(const std::string& raw, std::string& out, std::string& why) {
  const std::string text = Trim(raw);
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
    why = "a quoted value must end with a double quote";
    return false;
  }
  out.clear();
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      why = "a double quote inside a quoted value must be written \\\"";
      return false;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i + 2 >= text.size()) {
      why = "a backslash at the end of a quoted value";
      return false;
    }
    char e = text[++i];
    switch (e) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '0':
        out += '\0';
        break;
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'x': {
        int hi = i + 1 < text.size() - 1 ? HexDigit(text[i + 1]) : -1;
        int lo = i + 2 < text.size() - 1 ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) {
          why = "\\x needs two hex digits";
          return false;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        why = std::string("unknown escape \\") + e;
        return false;
    }
  }
  return true;
}

// A value as written after "=" or on a list line: quoted, or plain.
bool ValueOf(const std::string& raw, std::string& out, std::string& why) {
  const std::string trimmed = Trim(raw);
  if (!trimmed.empty() && trimmed.front() == '"') return Unquote(trimmed, out, why);
  size_t b = 0;
  while (b < raw.size() && IsBlank(raw[b])) ++b;
  out = raw.substr(b);
  return true;
}

}  // namespace

bool IsScriptKey(const std::string& key) { return In(scriptkey::kTextKeys, key) || IsListKey(key); }
bool IsListKey(const std::string& key) { return In(scriptkey::kListKeys, key); }

bool ParseScriptFile(const std::string& text, ScriptFile& out, std::string& error) {
  out.entries.clear();
  // Line breaks of the file itself: CR LF or LF (a lone CR is a byte of the value).
  std::vector<std::string> lines = SplitOn(text, '\n');
  for (std::string& line : lines)
    if (!line.empty() && line.back() == '\r') line.pop_back();
  if (lines.back().empty()) lines.pop_back();  // what follows the last break

  ScriptFileEntry* list = nullptr;  // the list whose entries are being read
  auto fail = [&](size_t n, const std::string& why) {
    error = "line " + std::to_string(n + 1) + ": " + why;
    return false;
  };
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    std::string why;
    if (!line.empty() && IsBlank(line[0])) {
      if (Trim(line).empty()) continue;
      if (!list) return fail(n, "an indented line belongs to a list key (KEY:)");
      std::string entry;
      if (!ValueOf(line, entry, why)) return fail(n, why);
      list->value += entry + "\r\n";
      continue;
    }
    list = nullptr;
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    size_t mark = line.find_first_of("=:");
    if (mark == std::string::npos) return fail(n, "expected KEY = value or KEY:");
    const std::string key = Trim(line.substr(0, mark));
    if (key == scriptkey::kCabFile || key == scriptkey::kUnrarDll)
      return fail(
          n, key + " is not written in the script: the payload is mksetup's PAYLOAD argument, the library its --unrar");
    if (!IsScriptKey(key)) return fail(n, "unknown key '" + key + "'");
    for (const ScriptFileEntry& e : out.entries)
      if (e.key == key)
        return fail(n, "the key " + key + " is given twice (first on line " + std::to_string(e.line) + ")");
    ScriptFileEntry entry;
    entry.key = key;
    entry.line = static_cast<int>(n + 1);
    const std::string rest = line.substr(mark + 1);
    if (line[mark] == ':') {
      if (!IsListKey(key)) return fail(n, key + " is not a list: write " + key + " = value");
      const std::string after = Trim(rest);
      if (after.rfind("raw", 0) == 0) {
        if (!Unquote(after.substr(3), entry.value, why)) return fail(n, why);
      } else if (!after.empty()) {
        return fail(n, "list entries go on the indented lines below " + key + ":");
      }
      out.entries.push_back(entry);
      if (after.empty()) list = &out.entries.back();
      continue;
    }
    if (IsListKey(key)) return fail(n, key + " is a list: write " + key + ": and one indented line per entry");
    if (!ValueOf(rest, entry.value, why)) return fail(n, why);
    out.entries.push_back(entry);
  }
  return true;
}

bool CheckRequiredKeys(const ScriptFile& script, std::string& error) {
  for (const ScriptFileEntry& e : script.entries)
    if (e.key == scriptkey::kAppName) {
      if (!e.value.empty()) return true;
      error = "line " + std::to_string(e.line) + ": APPNAME is empty: it names the product's uninstall entry";
      return false;
    }
  error = "the key APPNAME is missing: it names the product's uninstall entry";
  return false;
}
