#include "tests/harness/harness.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>

#include "state/script_keys.h"
#include "support/handles.h"

namespace harness {

namespace {
void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA((dir + "*").c_str(), &fd));
  if (h) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(h.Get(), &fd));
  }
  RemoveDirectoryA(dir.c_str());
}
}  // namespace

std::string BinDir() {
  const char* bin = std::getenv("ZX_BIN");
  std::string dir = bin ? bin : "";
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

std::string SystemDir() {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, sizeof dir);
  return std::string(dir) + "\\";
}

std::string TestDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  std::string dir = "C:\\zxtests\\" + name + "\\";
  RemoveTree(dir);
  CreateDirectoryA("C:\\zxtests", nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void MakeInstaller(const std::string& exePath, const ScriptValues& values) {
  const std::string stub = BinDir() + "setup.exe";
  ASSERT_TRUE(CopyFileA(stub.c_str(), exePath.c_str(), FALSE)) << "cannot copy " << stub << " to " << exePath;
  ScriptValues all = values;
  auto has = [&](const char* key) {
    for (const auto& kv : values)
      if (kv.first == key) return true;
    return false;
  };
  if (!has(scriptkey::kUnrarDll)) all.emplace_back(scriptkey::kUnrarDll, ReadFileBytes(BinDir() + "unrar.dll"));
  if (!has(scriptkey::kCabFile)) all.emplace_back(scriptkey::kCabFile, MakeRarArchive({}));
  std::string error;
  ASSERT_TRUE(WriteScriptResources(exePath, all, &error)) << error;
}

void Box::Press(const std::string& button) const {
  ASSERT_TRUE(hwnd) << "no window to press '" << button << "' in";
  ASSERT_TRUE(gui::PressButton(hwnd, button)) << "window '" << caption << "' has no button '" << button << "'";
  // The box must go away once its button is pressed.
  EXPECT_TRUE(gui::WaitForWindowGone(hwnd, 10000)) << "window '" << caption << "' stayed after '" << button << "'";
}

Box ReadBox(HWND window) {
  Box box;
  box.hwnd = window;
  box.caption = gui::WindowText(window);
  box.text = gui::MessageText(window);
  box.buttons = gui::ButtonTexts(window);
  return box;
}

Session::Session(const std::string& exePath, const std::string& workDir, const std::string& arguments) : exe_(exePath) {
  EXPECT_TRUE(program_.Start(exePath, arguments, workDir)) << "cannot start " << exePath;
}

void Session::FollowHandOver(DWORD timeoutMs) {
  EXPECT_TRUE(program_.FollowChild(timeoutMs)) << exe_ << " handed over to no process";
}

Session::~Session() { program_.Kill(); }

Box Session::Expect(const std::string& caption, DWORD timeoutMs) {
  HWND w = gui::WaitForWindow(program_, caption, timeoutMs);
  if (!w) {
    std::string seen;
    for (HWND other : gui::VisibleWindows(program_.Id())) seen += " " + gui::Describe(other);
    // How it ended tells a fault (an exception code) from a quiet exit.
    std::string how = " within " + std::to_string(timeoutMs / 1000) + " s";
    DWORD code = 0;
    if (program_.WaitForExit(0, &code)) {
      char ended[64];
      snprintf(ended, sizeof ended, " (the program ended, code 0x%lX)", code);
      how = ended;
    }
    ADD_FAILURE() << "window '" << caption << "' did not appear" << how << (seen.empty() ? "" : "; open:" + seen);
    return Box();
  }
  return ReadBox(w);
}

void Session::Answer(const std::string& caption, const std::string& text, const std::string& button) {
  Box box = Expect(caption);
  if (!box) return;
  EXPECT_EQ(box.text, text) << "in the box '" << caption << "'";
  box.Press(button);
}

void Session::ExpectEnd(DWORD timeoutMs) {
  DWORD code = 0;
  DWORD start = GetTickCount();
  while (!program_.WaitForExit(100, &code)) {
    std::vector<HWND> open = gui::VisibleWindows(program_.Id());
    if (!open.empty()) {
      // Give a closing box a moment before calling it unexpected.
      if (!gui::WaitUntil([&] { return (open = gui::VisibleWindows(program_.Id())).empty(); }, 300)) {
        ADD_FAILURE() << "expected the end of the run, but a window is open: " << gui::Describe(open.front());
        program_.Kill();
        return;
      }
    }
    if (GetTickCount() - start > timeoutMs) {
      ADD_FAILURE() << "the program did not end within " << timeoutMs / 1000 << " s";
      program_.Kill();
      return;
    }
  }
  EXPECT_EQ(code, 0u) << "exit code";
}

std::string Quoted(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args) line += (line.empty() ? "" : " ") + QuoteArgument(arg);
  return line;
}

DWORD RunTool(const std::string& exe, const std::string& arguments, std::string* output, DWORD timeoutMs) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  char tempDir[MAX_PATH], capture[MAX_PATH];
  GetTempPathA(sizeof tempDir, tempDir);
  GetTempFileNameA(tempDir, "out", 0, capture);
  DWORD code = ~0u;
  {
    FileHandle file(CreateFileA(capture, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = file.Get();
    si.hStdError = file.Get();
    PROCESS_INFORMATION pi = {};
    std::string commandLine = BuildCommandLine(exe, arguments, {});
    // Retried for a while: under load Wine now and then fails a start that works a moment later.
    const auto started = [&] {
      return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &si, &pi) != FALSE;
    };
    if (gui::WaitUntil(started, 2000)) {
      KernelHandle process(pi.hProcess);
      KernelHandle thread(pi.hThread);
      if (WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.Get(), &code);
      } else {
        TerminateProcess(process.Get(), 99);
      }
    }
  }
  if (output) *output = ReadFileBytes(capture);
  DeleteFileA(capture);
  return code;
}

void RunToCompletion(const std::string& exePath) {
  Session run(exePath);
  run.Expect("Welcome!").Press("OK");
  run.Answer("Setup", "Installation completed.", "OK");
  run.ExpectEnd();
}

void SetScriptValue(ScriptValues& values, const std::string& key, const std::string& value) {
  for (auto& kv : values)
    if (kv.first == key) {
      kv.second = value;
      return;
    }
  values.emplace_back(key, value);
}

bool KeyExists(HKEY root, const std::string& path) {
  RegKey key;
  return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

std::optional<std::string> ReadString(HKEY root, const std::string& path, const std::string& name) {
  RegKey owner;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, owner.Out()) != ERROR_SUCCESS) return std::nullopt;
  const HKEY key = owner.Get();
  DWORD type = 0, size = 0;
  std::optional<std::string> result;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::string data(size, '\0');
    RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    if (!data.empty() && data.back() == '\0') data.pop_back();
    result = data;
  }
  return result;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const std::string& name) {
  RegKey owner;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, owner.Out()) != ERROR_SUCCESS) return std::nullopt;
  const HKEY key = owner.Get();
  DWORD type = 0, value = 0, size = sizeof value;
  std::optional<DWORD> result;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD)
    result = value;
  return result;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  RegKey owner;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, owner.Out()) != ERROR_SUCCESS) return names;
  const HKEY key = owner.Get();
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD size = sizeof name;
    if (RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

void DeleteKey(HKEY root, const std::string& path) { SHDeleteKeyA(root, path.c_str()); }

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) { WriteWholeFile(path, bytes); }

}  // namespace harness
