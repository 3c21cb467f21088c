#include "uninstall/self_copy.h"

#include <windows.h>

#include <vector>

#include "state/folders.h"
#include "support/handles.h"
#include "uninstall/removal_rules.h"

namespace {

const DWORD kOriginalWaitMs = 30000;

std::string OwnPath() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, n < sizeof path ? n : 0);
}

}  // namespace

bool HandOverToCopy(const std::string& appName) {
  const std::string self = OwnPath();
  const std::string copy = MakeTempFileName("zxu");
  if (self.empty() || copy.empty()) return false;
  if (!CopyFileA(self.c_str(), copy.c_str(), FALSE)) {
    DeleteFileA(copy.c_str());
    return false;
  }
  // An inheritable handle of this process: the copy waits on it.
  KernelHandle original;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), original.Out(), SYNCHRONIZE, TRUE,
                       0)) {
    DeleteFileA(copy.c_str());
    return false;
  }
  const std::string line =
      CopyCommandLine(copy, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(original.Get())), appName);
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  // Started in the temporary folder, so that no folder to remove is its current one.
  if (!CreateProcessA(copy.c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, GetTempDir().c_str(), &si,
                      &pi)) {
    DeleteFileA(copy.c_str());
    return false;
  }
  KernelHandle process(pi.hProcess);
  KernelHandle thread(pi.hThread);
  return true;
}

void WaitForOriginal(std::uint64_t originalProcess) {
  KernelHandle original(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(originalProcess)));
  WaitForSingleObject(original.Get(), kOriginalWaitMs);
}

void RemoveOwnFile() {
  const std::string self = OwnPath();
  if (self.empty() || DeleteFileA(self.c_str())) return;
  MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
