// rarpack [--store | --solid] FOLDER ARCHIVE: packs a folder tree into a RAR
// archive, each file compressed alone unless told otherwise (for benchmarks
// and for trying archives by hand); prints the sizes and the time taken.
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "rarwriter/folder_entries.h"
#include "support/files.h"

int main(int argc, char** argv) {
  RarOptions options;
  options.packing = RarPacking::kCompress;
  int at = 1;
  for (; at < argc && argv[at][0] == '-' && argv[at][1] == '-'; ++at) {
    const std::string option = argv[at];
    if (option == "--store") {
      options.packing = RarPacking::kStore;
    } else if (option == "--solid") {
      options.packing = RarPacking::kSolid;
    } else {
      at = argc;
    }
  }
  if (argc - at != 2) {
    std::fprintf(stderr, "usage: rarpack [--store | --solid] FOLDER ARCHIVE\n");
    return 2;
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    RarSizes sizes;
    const std::string archive = WriteRarArchive(FolderEntries(argv[at]), options, &sizes);
    if (WriteWholeFile(argv[at + 1], archive) != FileStatus::kOk)
      throw std::runtime_error(std::string("cannot write ") + argv[at + 1]);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("rarpack: %llu bytes unpacked, %llu packed, archive %zu bytes, %.2f s\n",
                static_cast<unsigned long long>(sizes.unpacked), static_cast<unsigned long long>(sizes.packed),
                archive.size(), took.count());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rarpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
