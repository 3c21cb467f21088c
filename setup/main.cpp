#include <windows.h>

#include "setup/setup.h"
#include "support/free_notification.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  FreeNotificationScope notifications;  // every release of the run goes through it
  return RunSetup();
}
