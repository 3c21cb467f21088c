#include <windows.h>

#include "uninstall/uninstaller.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunUninstall(GetCommandLineA()); }
