#include "guidriver/driver.h"

#include <tlhelp32.h>

#include <utility>
#include <vector>

#include "support/command_line.h"

namespace gui {

namespace {
const DWORD kPollMs = 20;

// A window's text. A program busy with work does not answer messages (the
// installer while it extracts): then the text the system keeps is taken.
std::string TextOf(HWND w) {
  const UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXTLENGTH, 0, 0, flags, 1000, &n)) {
    char kept[1024] = {};
    int got = GetWindowTextA(w, kept, sizeof kept);
    return std::string(kept, got > 0 ? got : 0);
  }
  if (n == 0) return std::string();
  std::vector<char> buffer(n + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(buffer.data()), flags, 1000, &got);
  return std::string(buffer.data(), got);
}

struct Search {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->pid && IsWindowVisible(w)) s->found.push_back(w);
  return TRUE;
}

bool SameClass(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }
}  // namespace

bool Program::Start(const std::string& path, const std::string& arguments, const std::string& workDir) {
  const std::string commandLine = BuildCommandLine(path, arguments, {});
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  // Under a heavily loaded machine Wine now and then fails to start a program
  // it starts fine a moment later; a failed start leaves no process, so trying
  // again is safe.
  const auto started = [&] {
    return CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &si, &pi) != FALSE;
  };
  if (!WaitUntil(started, 2000)) return false;
  KernelHandle thread(pi.hThread);
  process_.Reset(pi.hProcess);
  pid_ = pi.dwProcessId;
  return true;
}

bool Program::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(DWORD timeoutMs, DWORD* code) {
  if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD c = 0;
  GetExitCodeProcess(process_.Get(), &c);
  if (code) *code = c;
  return true;
}

void Program::Kill() {
  if (Running()) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

bool Program::FollowChild(DWORD timeoutMs) {
  if (!WaitForExit(timeoutMs, nullptr)) return false;
  // Closed like a file handle: it is INVALID_HANDLE_VALUE when it fails.
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  // The last process it started: Wine may have started its desktop process
  // for the program too, before.
  KernelHandle child;
  DWORD childId = 0;
  ULONGLONG newest = 0;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID != pid_ || entry.th32ProcessID == pid_) continue;
    KernelHandle candidate(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    FILETIME created, exited, kernel, user;
    if (!candidate || !GetProcessTimes(candidate.Get(), &created, &exited, &kernel, &user)) continue;
    const ULONGLONG when = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    if (child && when < newest) continue;
    child = std::move(candidate);
    childId = entry.th32ProcessID;
    newest = when;
  }
  if (!child) return false;
  process_ = std::move(child);
  pid_ = childId;
  return true;
}

std::vector<HWND> VisibleWindows(DWORD pid) {
  Search s{pid, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return done();
    Sleep(kPollMs);
  }
}

static HWND WaitFor(const Program& program, const std::string* caption, DWORD timeoutMs) {
  auto find = [&]() -> HWND {
    for (HWND w : VisibleWindows(program.Id()))
      if (!caption || WindowText(w) == *caption) return w;
    return nullptr;
  };
  HWND found = nullptr;
  // A window may come just before the end: the look after the end counts too.
  WaitUntil([&] { return (found = find()) != nullptr || !program.Running(); }, timeoutMs);
  return found || program.Running() ? found : find();
}

HWND WaitForWindow(const Program& program, const std::string& caption, DWORD timeoutMs) {
  return WaitFor(program, &caption, timeoutMs);
}

HWND WaitForAnyWindow(const Program& program, DWORD timeoutMs) { return WaitFor(program, nullptr, timeoutMs); }

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !(IsWindow(window) && IsWindowVisible(window)); }, timeoutMs);
}

std::string WindowText(HWND window) { return TextOf(window); }

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string MessageText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? TextOf(text) : std::string();
}

std::vector<Control> Controls(HWND dialog) {
  std::vector<Control> out;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    Control control;
    control.hwnd = c;
    control.id = GetDlgCtrlID(c);
    control.className = ClassName(c);
    control.text = TextOf(c);
    out.push_back(control);
  }
  return out;
}

std::vector<std::string> ButtonTexts(HWND dialog) {
  std::vector<std::string> out;
  for (const Control& c : Controls(dialog))
    if (SameClass(c.className, "Button") && IsWindowVisible(c.hwnd)) out.push_back(c.text);
  return out;
}

std::string ControlText(HWND dialog, int id) {
  HWND c = GetDlgItem(dialog, id);
  return c ? TextOf(c) : std::string();
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND dialog, int id) {
  // Posted, so that the driver never waits on a box the click opens.
  HWND button = GetDlgItem(dialog, id);
  if (button) PostMessageA(button, BM_CLICK, 0, 0);
}

bool PressButton(HWND dialog, const std::string& caption) {
  for (const Control& c : Controls(dialog)) {
    if (SameClass(c.className, "Button") && c.text == caption) {
      PostMessageA(c.hwnd, BM_CLICK, 0, 0);
      return true;
    }
  }
  return false;
}

void PressKey(HWND control, UINT virtualKey) {
  PostMessageA(control, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(control, WM_KEYUP, virtualKey, 0xC0000001);
}

void CloseWindow(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::string Describe(HWND window) {
  std::string d = "[" + WindowText(window) + "]";
  std::string text = MessageText(window);
  if (!text.empty()) d += " \"" + text + "\"";
  for (const Control& c : Controls(window)) {
    if (SameClass(c.className, "Edit")) d += " edit " + std::to_string(c.id) + "=\"" + c.text + "\"";
    if (SameClass(c.className, "Button")) d += " (" + c.text + ")";
  }
  return d;
}

}  // namespace gui
