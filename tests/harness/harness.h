#pragma once
// What scenario tests under Wine share: making an installer from script
// values, running it with the GUI driver, and looking at what it left.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "guidriver/driver.h"
#include "mksetup/resource_writer.h"
#include "support/command_line.h"
#include "support/files.h"

namespace harness {

// How long a window, or anything a started program leaves, may take to come:
// a program started under emulation takes seconds.
constexpr DWORD kComeMs = 15000;

// The folder of the programs under test (ZX_BIN), with a trailing backslash.
std::string BinDir();
// The Windows system folder, with a trailing backslash.
std::string SystemDir();
// A fresh, empty folder for the current test, with a trailing backslash.
std::string TestDir();

// Copies the installer stub to `exePath` and writes `values` into it. Unless
// `values` name them, the RAR library (UNRARDLL) and an empty payload
// archive (CABFILE) are added; an empty value leaves a key out.
void MakeInstaller(const std::string& exePath, const ScriptValues& values);

// One entry of a test archive: a file with its bytes, or a folder.
struct ArchiveEntry {
  std::string name;
  std::string data;
  bool folder = false;
};
// A RAR archive holding `entries` in order.
std::string MakeRarArchive(const std::vector<ArchiveEntry>& entries);

// A message box or dialog of the program under test.
struct Box {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;  // message text of a message box
  std::vector<std::string> buttons;
  explicit operator bool() const { return hwnd != nullptr; }
  // Presses a button by caption; fails the test when there is none.
  void Press(const std::string& button) const;
};

// One run of a program, driven like a user would.
class Session {
 public:
  explicit Session(const std::string& exePath, const std::string& workDir = "", const std::string& arguments = "");
  ~Session();
  // Waits for the window with this caption; fails the test naming it when it
  // does not come.
  Box Expect(const std::string& caption, DWORD timeoutMs = kComeMs);
  // Expects the message box with this caption and text and presses `button`.
  void Answer(const std::string& caption, const std::string& text, const std::string& button);
  // Waits for the program to end; fails when it does not, or shows a window
  // meanwhile, or ends with a code other than 0.
  void ExpectEnd(DWORD timeoutMs = 30000);
  // Goes on with the process the program handed its work over to (it ends
  // after starting it); fails the test when there is none.
  void FollowHandOver(DWORD timeoutMs = kComeMs);
  gui::Program& Program() { return program_; }

 private:
  std::string exe_;
  gui::Program program_;
};

Box ReadBox(HWND window);

// Runs an installer that asks nothing but the welcome: OK there, and OK to
// "Installation completed.".
void RunToCompletion(const std::string& exePath);

// Sets `key` in `values`, replacing an earlier value of it.
void SetScriptValue(ScriptValues& values, const std::string& key, const std::string& value);

// Each argument quoted (support/command_line.h), joined by blanks: for the
// `arguments` of RunTool and Program::Start.
std::string Quoted(const std::vector<std::string>& args);

// Runs a console program to its end, its standard output and error going to
// `output` when given; answers the exit code (~0u when it could not start or
// did not end within `timeoutMs`).
DWORD RunTool(const std::string& exe, const std::string& arguments, std::string* output = nullptr,
              DWORD timeoutMs = 60000);

// Registry look-ups for the checks after a run.
bool KeyExists(HKEY root, const std::string& path);
std::optional<std::string> ReadString(HKEY root, const std::string& path, const std::string& name);
std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const std::string& name);
// The names of a key's values, in enumeration order.
std::vector<std::string> ValueNames(HKEY root, const std::string& path);
void DeleteKey(HKEY root, const std::string& path);

using ::FileExists;
using ::FolderExists;
// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Creates or replaces the file (a failure shows in the checks that follow).
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace harness
