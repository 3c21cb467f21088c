// Timings for bench/unrar.sh, taken inside one Wine process so that start-up
// is not counted:
//   unrar_bench extract ARCHIVE DEST   extracts through unrar.dll beside it
//   unrar_bench count ARCHIVE -        skips every entry, as the installer
//                                      does to total the sizes first
//   unrar_bench copy SRC DEST          copies the tree with CopyFileA
// Prints "seconds files bytes".
#include <windows.h>

#include <cstdio>
#include <string>

#include "extract/unrar_binding.h"
#include "support/errors.h"
#include "support/handles.h"

namespace {

struct Totals {
  unsigned long long files = 0;
  unsigned long long bytes = 0;
};

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

bool Walk(const std::string& archive, const std::string& dest, int operation, Totals& totals) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  LoadUnrarLibrary(dir.substr(0, dir.find_last_of('\\') + 1) + "unrar.dll");
  UnrarArchive a(UnrarOpenArchive(archive));
  if (!a) return false;
  RARHeaderData header = {};
  while (UnrarReadHeader(a.Get(), &header) == 0) {
    if (UnrarProcessFile(a.Get(), operation, dest, "") != 0) return false;
    if (!(header.FileAttr & FILE_ATTRIBUTE_DIRECTORY)) {
      ++totals.files;
      totals.bytes += header.UnpSize;
    }
  }
  return true;
}

bool Copy(const std::string& src, const std::string& dest, Totals& totals) {
  CreateDirectoryA(dest.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  FindHandle find(FindFirstFileA((src + "\\*").c_str(), &fd));
  if (!find) return false;
  bool ok = true;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = Copy(src + "\\" + name, dest + "\\" + name, totals) && ok;
    } else {
      ok = CopyFileA((src + "\\" + name).c_str(), (dest + "\\" + name).c_str(), FALSE) && ok;
      ++totals.files;
      totals.bytes += fd.nFileSizeLow;
    }
  } while (FindNextFileA(find.Get(), &fd));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: unrar_bench extract ARCHIVE DEST | count ARCHIVE - | copy SRC DEST\n");
    return 2;
  }
  const std::string mode = argv[1];
  Totals totals;
  const double start = Now();
  bool ok = false;
  try {
    if (mode == "copy")
      ok = Copy(argv[2], argv[3], totals);
    else
      ok = Walk(argv[2], argv[3], mode == "count" ? RAR_SKIP : RAR_EXTRACT, totals);
  } catch (const InstallError& e) {
    std::fprintf(stderr, "unrar_bench: %s\n", e.what());
  }
  const double seconds = Now() - start;
  UnloadUnrarLibrary();
  if (!ok) {
    std::fprintf(stderr, "unrar_bench: %s failed\n", mode.c_str());
    return 1;
  }
  std::printf("%.3f %llu %llu\n", seconds, totals.files, totals.bytes);
  return 0;
}
