// Stands for the product's uninstaller, which the payload carries as
// uninstall.exe; it only says what it would remove.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  MessageBoxA(nullptr, (std::string("The uninstaller of ") + commandLine + " is not part of this demo.").c_str(),
              "Uninstall", MB_OK | MB_ICONINFORMATION);
  return 0;
}
