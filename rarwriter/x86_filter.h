#pragma once
// The RAR 5 filter for x86 code (E8E9): the relative addresses of calls (E8)
// and jumps (E9) made absolute, so that calls to one function repeat. The
// reader turns them back; this is its inverse, byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>

// Whether `data` is worth the filter: a Windows program or library (the
// "MZ" and "PE" headers of an x86 or x64 image).
bool IsX86Image(const std::string& data);

// Encodes the block `data` (at `fileOffset` in its file) in place.
void EncodeX86Block(unsigned char* data, std::size_t size, std::uint32_t fileOffset);
// The reader's side, for the tests.
void DecodeX86Block(unsigned char* data, std::size_t size, std::uint32_t fileOffset);
