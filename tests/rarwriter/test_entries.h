#pragma once
// Archive entries for the tests, all stamped with one fixed time.
#include <cstdint>
#include <string>

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

}  // namespace test_entries
