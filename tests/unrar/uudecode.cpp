#include "tests/unrar/uudecode.h"

#include <sstream>

std::string UuDecode(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line) && line.compare(0, 6, "begin ") != 0) {
  }
  std::string out;
  auto value = [](char c) { return (c - 0x20) & 0x3F; };
  while (std::getline(in, line) && line.compare(0, 3, "end") != 0) {
    if (line.empty()) continue;
    const int length = value(line[0]);
    std::string bytes;
    for (size_t i = 1; i + 3 < line.size() + 3 && static_cast<int>(bytes.size()) < length; i += 4) {
      int v[4];
      for (int k = 0; k < 4; ++k) v[k] = i + k < line.size() ? value(line[i + k]) : 0;
      bytes += static_cast<char>((v[0] << 2) | (v[1] >> 4));
      bytes += static_cast<char>(((v[1] & 0xF) << 4) | (v[2] >> 2));
      bytes += static_cast<char>(((v[2] & 0x3) << 6) | v[3]);
    }
    bytes.resize(static_cast<size_t>(length) < bytes.size() ? length : bytes.size());
    out += bytes;
  }
  return out;
}
