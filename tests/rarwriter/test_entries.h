#pragma once
// Archive entries for the tests, all stamped with one fixed time.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "rarwriter/rar_writer.h"

namespace test_entries {

const std::uint32_t kDec7Noon = (46u << 25) | (12u << 21) | (7u << 16) | (12u << 11);  // 2026-12-07 12:00:00

inline RarEntry File(const std::string& name, const std::string& data) {
  RarEntry e;
  e.name = name;
  e.data = data;
  e.dosTime = kDec7Noon;
  return e;
}

inline RarEntry Folder(const std::string& name) {
  RarEntry e = File(name, "");
  e.folder = true;
  return e;
}

// Bytes that do not compress (a fixed seed: the same every run).
inline std::string Noise(std::size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(size, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

// Text-like bytes: words of a small vocabulary in random order.
inline std::string Words(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"window ",  "match ", "the ",   "length ",  "distance\r\n", "of ",  "a ",
                                       "Huffman ", "table ", "block ", "literal ", "0x1F, ",       "int ", "; "};
  std::mt19937 gen(seed);
  std::string s;
  while (s.size() < size) s += kWords[gen() % (sizeof kWords / sizeof *kWords)];
  s.resize(size);
  return s;
}

// The readers' window for the edge inputs: 128 KB, the format's smallest,
// so that they cross it.
constexpr unsigned kEdgeDictBits = 17;
constexpr std::size_t kEdgeWindow = std::size_t{1} << kEdgeDictBits;

// The edge inputs of an LZ coder: nothing, one byte, runs longer than the
// longest match, repeats just inside and just beyond the window, data that
// does not compress, files larger than the window, and twins (files that
// repeat the one before them).
// A Windows program's bytes: the "MZ" and "PE" headers (x86), then code
// calling `targets` functions (E8 and a relative address) among noise; with
// `tailCall`, its last five bytes are a call too, which the filter leaves.
inline std::string X86Image(std::size_t size, unsigned seed, unsigned targets, bool tailCall = false) {
  std::string s = Noise(size, seed);
  s.replace(0, 2, "MZ");
  s.replace(0x3c, 4, std::string("\x40\0\0\0", 4));
  s.replace(0x40, 6, std::string("PE\0\0\x4c\x01", 6));
  std::mt19937 gen(seed);
  for (std::size_t at = 0x100; targets && at + 5 <= size; at += 7 + gen() % 40) {
    const std::uint32_t target = 0x1000 + (gen() % targets) * 0x40;
    const std::uint32_t rel = target - static_cast<std::uint32_t>(at + 5);
    s[at] = '\xE8';
    for (int i = 0; i < 4; ++i) s[at + 1 + i] = static_cast<char>(rel >> (8 * i));
  }
  if (tailCall && size >= 5) s.replace(size - 5, 5, std::string("\xE8\x10\0\0\0", 5));
  return s;
}

inline std::vector<RarEntry> LzEdgeInputs() {
  std::vector<RarEntry> out = {File("empty", ""), File("one", "x"), File("two", "xy"),
                               File("run", std::string(20000, 'a')), File("pairs", [] {
                                 std::string s;
                                 for (int i = 0; i < 9000; ++i) s += "ab";
                                 return s;
                               }())};
  // A block repeated at distances around the window's size.
  for (std::size_t back : {kEdgeWindow - 17, kEdgeWindow - 16, kEdgeWindow - 1, kEdgeWindow, kEdgeWindow + 1}) {
    const std::string block = Noise(3000, 7);
    out.push_back(File("window-" + std::to_string(back), block + Noise(back - block.size(), 8) + block));
  }
  out.push_back(File("noise", Noise(50000, 9)));
  out.push_back(File("noise-twin", Noise(50000, 9)));  // packed alone: stored as its first
  out.push_back(File("words-large", Words(3 * kEdgeWindow + 12345, 10)));
  out.push_back(File("words-again", Words(40000, 10)));  // repeats the start of the one before
  out.push_back(File("tail-run", Words(5000, 11) + std::string(9000, '\0')));
  // Records of one layout with a changing field: matches at the last few
  // distances again and again (the reader's list of distances), also across
  // a stored file, which a solid stream's list must not count.
  std::string records;
  for (int i = 0; i < 3000; ++i)
    records += "{id=" + Noise(2, i) + ", name=\"" + Noise(1 + i % 3, i) + "\", flags=7}\r\n";
  out.push_back(File("records", records));
  std::string noise = Noise(4000, 12);  // with a few matches of its own: stored all the same
  for (std::size_t at : {1000, 2000, 2500, 3100}) noise.replace(at, 12, noise.substr(at % 1000 + 37, 12));
  out.push_back(File("records-noise", noise));
  out.push_back(File("records-again", records.substr(0, 30000)));
  // Programs for the x86 filter: with calls, without, one ending in a call,
  // and one of half the window, which in a solid stream wraps the window's end.
  out.push_back(File("calls.exe", X86Image(20000, 13, 50)));
  out.push_back(File("calls-twin.exe", X86Image(20000, 13, 50)));  // alone: a copy, filtered as its first
  out.push_back(File("nocalls.dll", X86Image(3000, 14, 0)));
  out.push_back(File("tail.exe", X86Image(777, 15, 9, true)));
  out.push_back(File("half.exe", X86Image(kEdgeWindow / 2, 16, 200)));
  return out;
}

}  // namespace test_entries
