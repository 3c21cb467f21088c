#include "ide/package_builder.h"

#include <windows.h>

#include "ide/catalogue.h"
#include "ide/ide_registration.h"
#include "ide/package_rules.h"
#include "ide/process_runner.h"
#include "state/folders.h"
#include "state/install_state.h"
#include "state/paths.h"
#include "state/script.h"
#include "state/script_keys.h"
#include "support/command_line.h"
#include "support/errors.h"
#include "support/message_box.h"
#include "support/string_list.h"

namespace {

// The produced file goes to the target folder, replacing what is there;
// across drives it is copied and then removed. Results are not checked: a
// result that is missing shows when the IDE loads the package.
std::string MoveProducedFile(const std::string& sourcePath, const std::string& targetDir, const std::string& ext) {
  const std::string produced = ChangeFileExt(sourcePath, ext);
  const std::string target = PlacedPath(targetDir, sourcePath, ext);
  if (FileExists(target)) DeleteFileA(target.c_str());
  if (SameDrive(produced, target)) {
    MoveFileA(produced.c_str(), target.c_str());
  } else {
    CopyFileA(produced.c_str(), target.c_str(), FALSE);
    DeleteFileA(produced.c_str());
  }
  return target;
}

void ReportBuildFailure(const std::string& message) {
  if (IsIdeVersionCompatible(Install.Ide))
    ShowMessage(message, kCaptionFailure, MB_OK);
  else
    ShowMessage(kIncompatibleVersionText, kCaptionSetup, MB_ICONWARNING);
}

}  // namespace

bool BuildPackage(IdeKind kind, const std::string& sourcePath, const std::string& targetDir, std::string& outMessage,
                  std::string& outBuiltPath) {
  const std::string root = GetIdeRootDir(kind);
  // Without the IDE there is no tool to run: a bare "Bin\" would start
  // whatever the installer's current folder holds under that name. The
  // message is what a tool that cannot start leaves after the filter.
  if (root.empty()) {
    outMessage.clear();
    return false;
  }
  const std::string bin = root + "Bin\\";
  const std::string ext = ExtractFileExt(sourcePath);
  const BuildTool tool = ChooseBuildTool(kind, ext);
  const std::string commandLine = BuildCommandLine(bin + tool.file, tool.options, {sourcePath});
  if (!RunProgram(commandLine, ExtractFilePath(sourcePath), outMessage, true)) {
    outMessage = FilterCompilerOutput(outMessage);
    return false;
  }
  const PackagePlacing placing = PlacingFor(ext, GetPackageExt(kind));
  if (!placing.placed) return true;
  outBuiltPath = MoveProducedFile(sourcePath, targetDir, placing.producedExt);
  for (const std::string& byProduct : placing.byProducts) DeleteFileA(ChangeFileExt(sourcePath, byProduct).c_str());
  return true;
}

void BuildPackages() {
  const StringList sources(SplitLines(ReadScriptString(scriptkey::kBuildPackages)));
  for (const std::string& line : sources) {
    const std::string name = LineName(line);
    const std::string source = FindInstalledFile(name);
    if (source.empty()) continue;
    std::string message;
    std::string built;
    if (!BuildPackage(Install.Ide, source, GetSystemDir(), message, built)) {
      ReportBuildFailure(message);
      throw AbortError();
    }
    // A source without a known result is built but has nothing to register.
    if (built.empty()) continue;
    // Listed so that the uninstall entry records and counts it.
    if (FileExists(built)) Install.InstalledFileList.Add(built);
    RegisterPackage(Install.Ide, built, sources.Value(name));
  }
}

void CopyDesignIntfSource() {
  if (Install.Ide != kIdeD5 && Install.Ide != kIdeC5) return;
  const std::string root = GetIdeRootDir(Install.Ide);
  const std::string source = root + "Source\\ToolsApi\\dsgnintf.pas";
  if (FileExists(source)) CopyFileA(source.c_str(), (root + "Lib\\dsgnintf.pas").c_str(), TRUE);
}
