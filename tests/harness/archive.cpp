#include "rarwriter/rar_writer.h"
#include "tests/harness/harness.h"

namespace harness {

std::string MakeRarArchive(const std::vector<ArchiveEntry>& entries) {
  std::vector<RarEntry> rar;
  for (const ArchiveEntry& e : entries) {
    RarEntry r;
    r.name = e.name;
    r.data = e.data;
    r.folder = e.folder;
    r.attributes = e.folder ? 0x10 : 0x20;
    r.dosTime = (46u << 25) | (12u << 21) | (7u << 16) | (12u << 11);  // 2026-12-07 12:00
    rar.push_back(r);
  }
  return WriteRarArchive(rar);
}

}  // namespace harness
