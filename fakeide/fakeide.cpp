// fakeide: installs, removes and "runs" a substitute edition of the IDE in
// the current Wine prefix, so the installer can be tried against it.
//   fakeide install CODE ROOTDIR [--build THIRD.FOURTH | --no-version] [--no-help]
//   fakeide uninstall CODE [--force]
// Both refuse an edition that fakeide did not install (a real IDE) unless
// told --force.
//   fakeide run [--windows CLASS,CLASS,...]
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fakeide/edition_marker.h"
#include "fakeide/tool_logic.h"
#include "state/ide_table.h"
#include "state/paths.h"
#include "support/files.h"
#include "support/handles.h"
#include "support/registry.h"
#include "support/text.h"

namespace {

const char kUsage[] =
    "usage: fakeide install CODE ROOTDIR [--build THIRD.FOURTH | --no-version] [--no-help] [--force]\n"
    "       fakeide uninstall CODE [--force]\n"
    "       fakeide run [--windows TAlignPalette,TPropertyInspector,TAppBuilder]\n";

// The build the substitute executable carries when none is asked for.
const unsigned long kDefaultBuild = (6ul << 16) | 18;

std::string OwnDir() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return ExtractFilePath(std::string(path, length));
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "fakeide: %s\n", message.c_str());
  return 2;
}

bool FindKind(const std::string& code, IdeKind& kind) {
  kind = IdeKindFromCode(code);
  return SameTextAscii(code, IdeEditionOf(kind).code);
}

bool CopyPayload(const std::string& name, const std::string& target) {
  return CopyFileA((OwnDir() + name).c_str(), target.c_str(), FALSE) != 0;
}

// The prebuilt executable of a build: fakeide_ide_<third>_<fourth>.exe.
std::string IdeExePayload(unsigned long build) {
  return "fakeide_ide_" + std::to_string(build >> 16) + "_" + std::to_string(build & 0xFFFF) + ".exe";
}

// "Delphi 5.0" from the subkey "Delphi\5.0".
std::string EditionName(const IdeEdition& edition) {
  std::string name = edition.registrySubkey;
  name[name.find('\\')] = ' ';
  return name;
}

struct InstallOptions {
  bool version = true;
  bool help = true;
  bool buildGiven = false;
  unsigned long build = 0;
  bool force = false;
};

bool ParseInstallOptions(int argc, char** argv, InstallOptions& options) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-version") {
      options.version = false;
    } else if (arg == "--no-help") {
      options.help = false;
    } else if (arg == "--force") {
      options.force = true;
    } else if (arg == "--build" && i + 1 < argc && ParseBuild(argv[i + 1], options.build)) {
      options.buildGiven = true;
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// The root folder the edition's "RootDir" names, with a trailing backslash;
// empty when the edition is not on the machine. `present` tells whether its
// key exists at all.
std::string RegisteredRoot(IdeKind kind, bool& present) {
  RegKey key;
  present = OpenRegistryKey(HKEY_LOCAL_MACHINE, IdeRegistryKey(kind), key);
  if (!present) return std::string();
  try {
    return AddBackslash(ReadRegistryString(key.Get(), "RootDir"));
  } catch (const std::exception&) {
    return std::string();  // a RootDir of another type: not one of ours
  }
}

// Ours: fakeide's marker of this very edition in the folder.
bool MadeByFakeIde(IdeKind kind, const std::string& root) {
  return !root.empty() && SameTextAscii(ReadMarkerCode(root), IdeEditionOf(kind).code);
}

// Why an existing edition (or root folder) must be left alone; empty when
// fakeide may touch it.
std::string NotOurs(IdeKind kind, const std::string& newRoot) {
  bool present = false;
  const std::string registered = RegisteredRoot(kind, present);
  const std::string code = IdeEditionOf(kind).code;
  if (present && !MadeByFakeIde(kind, registered))
    return "the edition " + code + " on this machine was not installed by fakeide" +
           (registered.empty() ? std::string() : " (" + registered + ")") + "; --force overrides";
  const std::string exe = newRoot + "Bin\\" + GetIdeExeName(kind) + ".exe";
  if (!newRoot.empty() && FileExists(exe) && !MadeByFakeIde(kind, newRoot))
    return newRoot + " holds an IDE that fakeide did not install; --force overrides";
  return std::string();
}

int InstallEdition(IdeKind kind, const std::string& rootArg, const InstallOptions& options) {
  const std::string root = AddBackslash(rootArg);
  if (!IsFullPath(root)) return Refuse("the root folder must be a full path: " + rootArg);
  const std::string refusal = options.force ? std::string() : NotOurs(kind, root);
  if (!refusal.empty()) return Refuse(refusal);
  const IdeEdition& edition = IdeEditionOf(kind);
  std::vector<std::string> folders = {root + "Bin", root + "HELP", root + "Lib"};
  if (kind >= kIdeD5) folders.push_back(root + "Source\\ToolsApi");
  for (const std::string& folder : folders) SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);

  auto write = [](const std::string& path, const std::string& text) {
    return WriteWholeFile(path, text) == FileStatus::kOk;
  };
  bool ok = write(root + kMarkerFileName, std::string(edition.code) + "\r\n");
  if (kind >= kIdeD5)
    ok = ok && write(root + "Source\\ToolsApi\\dsgnintf.pas",
                     "unit DsgnIntf;\r\n\r\ninterface\r\n\r\n"
                     "implementation\r\n\r\nend.\r\n");
  if (options.help) {
    const std::string base = ChangeFileExt(edition.helpContentsFile, "");
    ok = ok && write(root + "HELP\\" + edition.helpContentsFile, HelpContentsText(EditionName(edition), base));
  }
  const std::string exe = root + "Bin\\" + GetIdeExeName(kind) + ".exe";
  if (options.version) {
    unsigned long build = options.buildGiven                   ? options.build
                          : edition.expectedBuild == kAnyBuild ? kDefaultBuild
                                                               : static_cast<unsigned long>(edition.expectedBuild);
    if (!CopyPayload(IdeExePayload(build), exe))
      return Refuse("no substitute executable with build " + std::to_string(build >> 16) + "." +
                    std::to_string(build & 0xFFFF));
  } else {
    ok = ok && CopyPayload("fakeide_ide_none.exe", exe);
  }
  ok = ok && CopyPayload("fakeide_dcc32.exe", root + "Bin\\dcc32.exe") &&
       CopyPayload("fakeide_make.exe", root + "Bin\\make.exe");

  RegKey key;
  ok = ok && CreateRegistryKey(HKEY_LOCAL_MACHINE, IdeRegistryKey(kind), key) &&
       WriteRegistryString(key.Get(), "RootDir", rootArg);
  if (!ok) return Refuse("could not install the substitute " + std::string(edition.code) + " in " + root);
  std::printf("installed %s in %s\n", edition.code, root.c_str());
  return 0;
}

void DeleteTree(const std::string& folder) {
  std::string from = RemoveBackslash(folder);
  from.push_back('\0');  // the list ends in two NULs
  SHFILEOPSTRUCTA op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&op);
}

int UninstallEdition(IdeKind kind, bool force) {
  const std::string refusal = force ? std::string() : NotOurs(kind, std::string());
  if (!refusal.empty()) return Refuse(refusal);
  bool present = false;
  const std::string root = RegisteredRoot(kind, present);
  // Only a folder fakeide made is deleted, never whatever a RootDir points at,
  // even when forced.
  if (!root.empty() && !ReadMarkerCode(root).empty()) DeleteTree(root);
  // The edition's keys in both hives, Known Packages included.
  const std::string key = RegistrySubkey(IdeRegistryKey(kind));
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  std::printf("removed %s\n", IdeEditionOf(kind).code);
  return 0;
}

}  // namespace

int RunIdeWindows(const std::string& classList);

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  IdeKind kind = 0;
  if (command == "install" && argc >= 4) {
    InstallOptions options;
    if (!FindKind(argv[2], kind)) return Refuse(std::string("unknown edition code ") + argv[2]);
    if (!ParseInstallOptions(argc - 4, argv + 4, options)) return Refuse(kUsage);
    return InstallEdition(kind, argv[3], options);
  }
  if (command == "uninstall" && (argc == 3 || (argc == 4 && std::string(argv[3]) == "--force"))) {
    if (!FindKind(argv[2], kind)) return Refuse(std::string("unknown edition code ") + argv[2]);
    return UninstallEdition(kind, argc == 4);
  }
  if (command == "run" && (argc == 2 || (argc == 4 && std::string(argv[2]) == "--windows")))
    return RunIdeWindows(argc == 4 ? argv[3] : "TAlignPalette,TPropertyInspector,TAppBuilder");
  return Refuse(kUsage);
}
