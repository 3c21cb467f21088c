#pragma once
// Canonical Huffman codes as RAR 5 blocks carry them: code lengths up to 15
// bits, shorter codes first, equal lengths in symbol order, sent most
// significant bit first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Bits written most significant first, as the format's reader takes them.
class BitWriter {
 public:
  void Put(std::uint32_t value, unsigned count) {
    for (unsigned done = 0; done < count;) {
      const unsigned take = count - done < 24 ? count - done : 24;
      acc_ = (acc_ << take) | ((value >> (count - done - take)) & ((1u << take) - 1));
      pending_ += take;
      done += take;
      while (pending_ >= 8) {
        pending_ -= 8;
        bytes_ += static_cast<char>((acc_ >> pending_) & 0xFF);
      }
    }
  }
  std::size_t BitCount() const { return bytes_.size() * 8 + pending_; }
  // The bytes, the last one padded with zero bits.
  std::string Finish() {
    if (pending_) Put(0, 8 - pending_);
    return std::move(bytes_);
  }

 private:
  std::uint64_t acc_ = 0;
  unsigned pending_ = 0;
  std::string bytes_;
};

// Code lengths for the symbol frequencies, none longer than `maxLength`;
// unused symbols get 0, a lone used symbol gets 1.
std::vector<std::uint8_t> HuffmanLengths(const std::vector<std::uint32_t>& freq, unsigned maxLength);

// The canonical code of every symbol with a length.
std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths);
