#include "ide/process_runner.h"

#include <windows.h>

#include <memory>

#include "ide/package_rules.h"
#include "ide/text_file.h"
#include "state/folders.h"
#include "support/handles.h"

namespace {

const char kCapturePrefix[] = "tempfile";

std::string SystemErrorText(DWORD code) {
  char buffer[256] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

// The capture file, removed once its text is read or the tool never ran.
class CaptureFile {
 public:
  CaptureFile() : name_(MakeTempFileName(kCapturePrefix)) {
    // Inherited by the tool as its standard output.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    handle_.Reset(
        CreateFileA(name_.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE, nullptr));
  }
  ~CaptureFile() {
    handle_.Reset();
    if (!name_.empty()) DeleteFileA(name_.c_str());
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;
  HANDLE Handle() const { return handle_.Get(); }
  std::string ReadText() {
    handle_.Reset();
    return CapturedText(LoadTextFile(name_));
  }

 private:
  std::string name_;
  FileHandle handle_;
};

}  // namespace

bool RunProgram(const std::string& commandLine, const std::string& workDir, std::string& outputText, bool capture) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::unique_ptr<CaptureFile> output;
  if (capture) {
    output.reset(new CaptureFile());
    startup.hStdOutput = output->Handle();
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  std::string mutableCommand = commandLine;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &mutableCommand[0], nullptr, nullptr, TRUE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
    const DWORD code = GetLastError();
    outputText = StartFailureText(SystemErrorText(code), code);
    return false;
  }
  KernelHandle process(info.hProcess);
  KernelHandle thread(info.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  if (output) outputText = output->ReadText();
  DWORD exitCode = 0;
  GetExitCodeProcess(process.Get(), &exitCode);
  WaitForInputIdle(process.Get(), INFINITE);
  thread.Reset();
  process.Reset();
  outputText = ExitCodeLine(exitCode) + outputText;
  return exitCode == 0;
}
