#include "setup/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "setup/shortcuts_lines.h"
#include "state/folders.h"
#include "state/install_state.h"
#include "state/script.h"
#include "state/script_keys.h"
#include "support/handles.h"

namespace {

// The shell link object is asked for in-process or out of process alike.
constexpr DWORD kShellLinkContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// The file name IPersistFile wants, through the system's ANSI code page.
std::wstring WideFileName(const std::string& name) {
  const int n = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, &wide[0], n);
  return wide;
}

}  // namespace

void CreateShellLink(const std::string& linkFile, const std::string& target, const std::string& description,
                     const std::string& workDir) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, kShellLinkContext, IID_IShellLinkA, link.OutVoid())) || !link)
    return;
  // The setters' results are not looked at: a link that cannot be completed
  // shows when it is saved, or not at all.
  link->SetPath(target.c_str());
  if (!description.empty()) link->SetDescription(description.c_str());
  if (!workDir.empty()) link->SetWorkingDirectory(workDir.c_str());
  ComPtr<IPersistFile> file;
  // Without IPersistFile the link cannot be saved: it is skipped.
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) || !file) return;
  file->Save(WideFileName(linkFile).c_str(), TRUE);
}

void CreateProgramLinks() {
  StringList lines;
  lines.SetText(ReadScriptString(scriptkey::kProgLinks));
  const std::string dir = GetProgramsMenuDir();
  for (const ProgramLink& link : ProgramLinksOf(lines, dir, Install.InstallDir)) {
    CreateShellLink(link.LinkFile, link.Target, link.Description, Install.InstallDir);
    Install.InstalledFileList.Add(link.LinkFile);
  }
}
