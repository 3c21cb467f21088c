// fakeide run: the top-level windows by which the installer tells that the
// IDE is running. They stay until one is closed or the process is ended.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK IdeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<std::string> SplitClasses(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(',', start), list.size());
    if (end > start) names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

int RunIdeWindows(const std::string& classList) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const std::string& name : SplitClasses(classList)) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = IdeWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name.c_str();
    // The windows stay hidden: only their classes are looked for.
    if (!RegisterClassA(&windowClass) || !CreateWindowExA(0, name.c_str(), name.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                                          100, nullptr, nullptr, instance, nullptr)) {
      std::fprintf(stderr, "fakeide: cannot create a window of class %s\n", name.c_str());
      return 1;
    }
  }
  std::printf("running\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
