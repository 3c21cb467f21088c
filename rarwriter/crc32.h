#pragma once
// CRC-32 (IEEE, reflected), as RAR headers and data use it.
#include <cstddef>
#include <cstdint>

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);
