// Brings the dialogs on screen one after the other for scripts/screenshots.sh:
//   screenshot_driver BIN WORK
// makes WORK\setup.exe from BIN\setup.exe, drives it to the destination
// dialog and its folder browser, then shows the progress dialog with
// BIN\progress_probe.exe. At each picture it writes WORK\<name>.ready with
// the window's screen rectangle and waits for WORK\<name>.done.
#include <windows.h>

#include <cstdio>
#include <string>

#include "guidriver/driver.h"
#include "mksetup/resource_writer.h"
#include "support/handles.h"
#include "tests/dialogs/read_folders.h"

namespace {

std::string work;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Shoot(const std::string& name, HWND window) {
  Sleep(700);  // let it paint
  RECT r = {};
  GetWindowRect(window, &r);
  FILE* f = std::fopen((work + name + ".ready").c_str(), "wb");
  if (!f) return;
  std::fprintf(f, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  std::fclose(f);
  gui::WaitUntil([&] { return Exists(work + name + ".done"); }, 60000);
}

HWND OwnedWindow(const gui::Program& program, HWND owner) {
  HWND owned = nullptr;
  gui::WaitUntil(
      [&] {
        for (HWND w : gui::VisibleWindows(program.Id()))
          if (GetWindow(w, GW_OWNER) == owner) owned = w;
        return owned != nullptr;
      },
      10000);
  return owned;
}

bool ShowDestinationAndBrowser(const std::string& bin) {
  const std::string exe = work + "setup.exe";
  std::string error;
  if (!CopyFileA((bin + "setup.exe").c_str(), exe.c_str(), FALSE) ||
      !WriteScriptResources(exe,
                            {{"APPNAME", "Corvane Tabrel for Delphi 5"},
                             {"VERSION", "2.21"},
                             {"INSTALLDIR", "C:\\Corvane\\Tab_D5"},
                             {"PROMPTINSTALLDIR", "Yes"},
                             {"CHECKPREVVERSION", "No"},
                             {"CHECKDELPHI", "No"}},
                            &error)) {
    std::fprintf(stderr, "cannot make %s: %s\n", exe.c_str(), error.c_str());
    return false;
  }
  CreateDirectoryA("C:\\Corvane", nullptr);
  CreateDirectoryA("C:\\Corvane\\Tab_D5", nullptr);
  gui::Program setup;
  if (!setup.Start(exe)) return false;
  HWND welcome = gui::WaitForWindow(setup, "Welcome!", 30000);
  if (!welcome) return false;
  gui::PressButton(welcome, IDOK);
  HWND dialog = gui::WaitForWindow(setup, "Select Destination Directory", 30000);
  if (!dialog) return false;
  Shoot("destination", dialog);
  ReadFoldersUpTo("C:\\Corvane\\Tab_D5\\");
  gui::PressButton(dialog, 3);
  HWND browser = OwnedWindow(setup, dialog);
  if (!browser) return false;
  Shoot("browser", browser);
  gui::PressButton(browser, IDCANCEL);
  gui::WaitForWindowGone(browser, 10000);
  gui::PressButton(dialog, IDCANCEL);
  return setup.WaitForExit(30000, nullptr);
}

bool ShowProgress(const std::string& bin) {
  const std::string name = "zxscreenshot-" + std::to_string(GetCurrentProcessId());
  KernelHandle ready(CreateEventA(nullptr, FALSE, FALSE, (name + "-ready").c_str()));
  KernelHandle next(CreateEventA(nullptr, FALSE, FALSE, (name + "-next").c_str()));
  gui::Program probe;
  if (!probe.Start(bin + "progress_probe.exe",
                   name + " create total:4200000 entry:Source\\zxtabrel.pas:2650000 destroy"))
    return false;
  for (int step = 0; step < 3; ++step) {
    if (WaitForSingleObject(ready.Get(), 30000) != WAIT_OBJECT_0) return false;
    if (step < 2) SetEvent(next.Get());
  }
  HWND dialog = gui::WaitForWindow(probe, "Installing files", 10000);
  if (!dialog) return false;
  Shoot("progress", dialog);
  SetEvent(next.Get());
  WaitForSingleObject(ready.Get(), 10000);
  SetEvent(next.Get());
  return probe.WaitForExit(10000, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshot_driver BIN WORK\n");
    return 2;
  }
  std::string bin = argv[1];
  work = argv[2];
  if (bin.back() != '\\') bin += '\\';
  if (work.back() != '\\') work += '\\';
  if (!ShowDestinationAndBrowser(bin)) {
    std::fprintf(stderr, "screenshot_driver: the destination dialog did not come as expected\n");
    return 1;
  }
  if (!ShowProgress(bin)) {
    std::fprintf(stderr, "screenshot_driver: the progress dialog did not come as expected\n");
    return 1;
  }
  return 0;
}
