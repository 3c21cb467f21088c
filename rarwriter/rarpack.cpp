// rarpack FOLDER ARCHIVE: packs a folder tree into a RAR archive of stored
// entries (for benchmarks and for trying archives by hand).
#include <cstdio>
#include <stdexcept>

#include "rarwriter/folder_entries.h"
#include "support/files.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rarpack FOLDER ARCHIVE\n");
    return 2;
  }
  try {
    const std::string archive = WriteRarArchive(FolderEntries(argv[1]));
    if (WriteWholeFile(argv[2], archive) != FileStatus::kOk) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rarpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
