#include "extract/unrar_binding.h"

#include <windows.h>

#include <vector>

#include "support/errors.h"

UnrarBinding Unrar;

namespace {

template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn& slot) {
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The entry point, or an error naming it: a missing export is never called.
template <typename Fn>
Fn Need(Fn slot, const char* name) {
  if (!slot) throw InstallError(std::string("UNRAR.DLL has no entry point ") + name);
  return slot;
}

// A NUL-terminated, writable copy for the library; null for the empty string.
class CString {
 public:
  explicit CString(const std::string& s) : bytes_(s.begin(), s.end()) { bytes_.push_back('\0'); }
  char* Get() { return bytes_.size() > 1 ? bytes_.data() : nullptr; }
  char* Text() { return bytes_.data(); }  // never null, also when empty

 private:
  std::vector<char> bytes_;
};

}  // namespace

void LoadUnrarLibrary(const std::string& libraryPath) {
  Unrar.module.Reset(LoadLibraryA(libraryPath.c_str()));
  if (!Unrar.module) throw InstallError("Can't load UNRAR.DLL");
  const HMODULE module = Unrar.module.Get();
  Resolve(module, "RAROpenArchive", Unrar.OpenArchive);
  Resolve(module, "RARCloseArchive", Unrar.CloseArchive);
  Resolve(module, "RARReadHeader", Unrar.ReadHeader);
  Resolve(module, "RARProcessFile", Unrar.ProcessFile);
  Resolve(module, "RARSetChangeVolProc", Unrar.SetChangeVolProc);
  Resolve(module, "RARSetProcessDataProc", Unrar.SetProcessDataProc);
  Resolve(module, "RARSetPassword", Unrar.SetPassword);
}

void EnsureUnrarLoaded() {
  if (!Unrar.module) LoadUnrarLibrary("unrar.dll");
}

void UnloadUnrarLibrary() { Unrar.module.Reset(); }

RarArchiveHandle UnrarOpenArchive(const std::string& archivePath) {
  EnsureUnrarLoaded();
  CString name(archivePath);
  RAROpenArchiveData data = {};
  data.ArcName = name.Text();
  data.OpenMode = RAR_OM_EXTRACT;
  return Need(Unrar.OpenArchive, "RAROpenArchive")(&data);
}

void UnrarCloseArchive(RarArchiveHandle archive) {
  EnsureUnrarLoaded();
  Need(Unrar.CloseArchive, "RARCloseArchive")(archive);
}

int UnrarReadHeader(RarArchiveHandle archive, RARHeaderData* header) {
  EnsureUnrarLoaded();
  return Need(Unrar.ReadHeader, "RARReadHeader")(archive, header);
}

int UnrarProcessFile(RarArchiveHandle archive, unsigned char operation, const std::string& destPath,
                     const std::string& destName) {
  EnsureUnrarLoaded();
  CString path(destPath);
  CString name(destName);
  return Need(Unrar.ProcessFile, "RARProcessFile")(archive, operation, path.Get(), name.Get());
}
