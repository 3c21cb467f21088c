#include <windows.h>

#include "setup/setup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunSetup(); }
