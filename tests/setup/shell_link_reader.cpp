#include "tests/setup/shell_link_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "support/handles.h"

namespace {

using Getter = HRESULT (STDMETHODCALLTYPE IShellLinkA::*)(LPSTR, int);

std::string Field(IShellLinkA* link, Getter get) {
  char buffer[MAX_PATH] = {};
  (link->*get)(buffer, MAX_PATH);
  return buffer;
}

}  // namespace

std::optional<ShellLinkFields> ReadShellLink(const std::string& path) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())))
    return std::nullopt;
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (FAILED(file->Load(wide, STGM_READ))) return std::nullopt;
  char target[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  return ShellLinkFields{target, Field(link.Get(), &IShellLinkA::GetDescription),
                         Field(link.Get(), &IShellLinkA::GetWorkingDirectory)};
}
