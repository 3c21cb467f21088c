// Test program standing for a product's file opened after installation:
// leaves ran.txt in its current folder with that folder's path. The file is
// written under another name and then renamed, so that a test waiting for
// ran.txt never reads it half written.
#include <windows.h>

#include <cstdio>

int main() {
  char dir[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof dir, dir);
  FILE* f = std::fopen("ran.tmp", "wb");
  if (!f) return 1;
  std::fputs(dir, f);
  if (std::fclose(f) != 0) return 1;
  return MoveFileExA("ran.tmp", "ran.txt", MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
