// Test program: reads setup-script keys from its own resources through the
// installer's reader and writes what it got, as hex, to a file.
//   script_dump.exe OUTFILE KEY...
#include <cstdio>
#include <string>

#include "state/script.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 3;
  for (int i = 2; i < argc; ++i) {
    std::string value = ReadScriptString(argv[i]);
    std::fprintf(out, "%s=", argv[i]);
    for (unsigned char c : value) std::fprintf(out, "%02x", c);
    std::fprintf(out, "\n");
  }
  std::fclose(out);
  return 0;
}
