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
// does not compress, and files larger than the window.
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
  return out;
}

}  // namespace test_entries
