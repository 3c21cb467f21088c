#include "rarwriter/huffman.h"

#include <algorithm>
#include <numeric>

namespace {

// Depths of a Huffman tree over the used symbols (two-queue construction
// over the symbols sorted by frequency).
std::vector<std::uint8_t> TreeDepths(const std::vector<std::uint32_t>& freq, const std::vector<int>& used) {
  const std::size_t n = used.size();
  std::vector<std::uint64_t> weight(2 * n);
  std::vector<int> parent(2 * n, -1);
  for (std::size_t i = 0; i < n; ++i) weight[i] = freq[used[i]];
  std::size_t leaf = 0, inner = n, next = n;
  auto take = [&]() {
    if (leaf < n && (inner >= next || weight[leaf] <= weight[inner])) return leaf++;
    return inner++;
  };
  while (next < 2 * n - 1) {
    const std::size_t a = take(), b = take();
    weight[next] = weight[a] + weight[b];
    parent[a] = parent[b] = static_cast<int>(next);
    ++next;
  }
  std::vector<std::uint8_t> depth(2 * n - 1, 0);
  for (std::size_t i = 2 * n - 1; i-- > 0;)
    if (parent[i] >= 0) depth[i] = static_cast<std::uint8_t>(std::min(255, depth[parent[i]] + 1));
  return std::vector<std::uint8_t>(depth.begin(), depth.begin() + n);
}

}  // namespace

std::vector<std::uint8_t> HuffmanLengths(const std::vector<std::uint32_t>& freq, unsigned maxLength) {
  std::vector<std::uint8_t> lengths(freq.size(), 0);
  std::vector<int> used;
  for (std::size_t i = 0; i < freq.size(); ++i)
    if (freq[i]) used.push_back(static_cast<int>(i));
  if (used.empty()) return lengths;
  if (used.size() == 1) {
    lengths[used[0]] = 1;
    return lengths;
  }
  std::vector<std::uint32_t> f = freq;
  for (;;) {
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return f[a] < f[b]; });
    const std::vector<std::uint8_t> depth = TreeDepths(f, used);
    if (*std::max_element(depth.begin(), depth.end()) <= maxLength) {
      for (std::size_t i = 0; i < used.size(); ++i) lengths[used[i]] = depth[i];
      return lengths;
    }
    // Too deep: flatten the frequencies and build again.
    for (int s : used) f[s] = (f[s] >> 1) | 1;
  }
}

std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
  unsigned count[16] = {};
  for (std::uint8_t l : lengths) ++count[l & 15];
  count[0] = 0;
  unsigned next[16] = {};
  unsigned code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = code;
  }
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (std::size_t i = 0; i < lengths.size(); ++i)
    if (lengths[i]) codes[i] = static_cast<std::uint16_t>(next[lengths[i]]++);
  return codes;
}
