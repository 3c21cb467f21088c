// Test program standing for a product's file opened after installation:
// leaves ran.txt in its current folder with that folder's path.
#include <windows.h>

#include <cstdio>

int main() {
  char dir[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof dir, dir);
  FILE* f = std::fopen("ran.txt", "wb");
  if (!f) return 1;
  std::fputs(dir, f);
  std::fclose(f);
  return 0;
}
