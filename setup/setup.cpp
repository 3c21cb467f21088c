#include "setup/setup.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "dialogs/progress_dialog.h"
#include "dialogs/res_dialog.h"
#include "extract/payload.h"
#include "ide/catalogue.h"
#include "ide/ide_registration.h"
#include "ide/package_builder.h"
#include "records/product_record.h"
#include "records/uninstall.h"
#include "setup/shortcuts.h"
#include "state/folders.h"
#include "state/install_state.h"
#include "state/paths.h"
#include "state/script.h"
#include "state/script_keys.h"
#include "support/errors.h"
#include "support/fault_cleanup.h"
#include "support/message_box.h"
#include "support/text.h"

namespace {

const char kSupportAddress[] = "support@corvane.example";

const char kWelcomeText[] =
    "This program will install '%s' onto your computer. \r\n"
    "Press the OK button to start the installation.\r\n"
    "You can press the Cancel button if you do not want to install this software.";
const char kExtractionFailedText[] = "An error occured during installation.\r\nPlease contact";
const char kCompletedText[] = "Installation completed.";
const char kFailedText[] = "Installation failed.";
const char kRunAfterText[] = "Would you like to run %s right now?";
const char kNoDestinationText[] =
    "No destination folder was given.\r\n"
    "Please enter the full path of a folder, for example C:\\Corvane\\Product.";
const char kRelativeDestinationText[] =
    "The destination folder \"%s\" is not a full path.\r\n"
    "Please enter the full path of a folder, for example C:\\Corvane\\Product.";

void ShowFailure() { ShowMessage(kFailedText, kCaptionFailure, MB_ICONWARNING); }

// An access violation or other fault ends the run like any other failure:
// no destructor runs on this path, so the steps' registered clean-up (the
// progress dialog, the staged files) runs here before the message.
LONG WINAPI OnUnhandledFault(EXCEPTION_POINTERS*) {
  OutputDebugStringA("Setup: unhandled fault\n");
  FaultCleanup::RunAll();
  ShowFailure();
  ExitProcess(0);
}

// Start-up from the installed-products record and the INSTALLDIR template;
// false when the user declines at the previous-version warning.
bool SettleProposedDestination() {
  switch (CheckInstalledProduct(Install.ProductName, Install.InternalVersion, Install.PreviousInstallDir)) {
    case SameVersionInstalled:
      Install.InstallDir = Install.PreviousInstallDir;
      return true;
    case OtherVersionInstalled:
      // The record of another version gives no folder: the template is proposed.
      if (!ConfirmOverPreviousVersion(Install.AppName)) return false;
      break;
    case ProductNotInstalled:
      break;
  }
  Install.InstallDir = ExpandFolderTemplates(ReadScriptString(scriptkey::kInstallDir), GetIdeHelpDir);
  return true;
}

void ChooseIde() {
  Install.IdeCode = ReadScriptString(scriptkey::kDelphiVer);
  Install.Ide = IdeKindFromCode(Install.IdeCode);
  Install.IdeHelpIndexFile = GetIdeHelpIndexFile(Install.Ide);
  if (FileExists(Install.IdeHelpIndexFile)) {
    Install.IdeHelpDir = ExtractFilePath(Install.IdeHelpIndexFile);
  } else {
    Install.IdeHelpIndexFile.clear();
    Install.IdeHelpDir.clear();
  }
}

void RunStartedInstallation() {
  Install.AppName = ReadScriptString(scriptkey::kAppName);
  // The uninstall entry is named by it: without it the entry would be the
  // system's Uninstall key itself. Refused before anything is written.
  if (Install.AppName.empty()) throw InstallError("The setup script gives no APPNAME");
  Install.ProductName = ReadScriptString(scriptkey::kProductName);
  Install.SubProductName = ReadScriptString(scriptkey::kSubProductName);
  Install.Version = ReadScriptString(scriptkey::kVersion);
  Install.InternalVersion = ReadScriptString(scriptkey::kInternalVersion);
  if (!SettleProposedDestination()) return;
  ChooseIde();
  Install.SystemFileList.SetText(ReadScriptString(scriptkey::kSysFiles));
  Install.HelpFileList.SetText(ReadScriptString(scriptkey::kHelpFiles));
  RunInstallSteps();
}

}  // namespace

bool ConfirmWelcome() {
  std::string title = Install.AppName;
  if (!Install.Version.empty()) title += " Version " + Install.Version;
  return ShowMessage(FormatText(kWelcomeText, {title}), kCaptionWelcome, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

bool PreviousVersionGate() {
  if (ScriptSwitchIs(scriptkey::kCheckPrevVersion, "No")) return true;
  return ConfirmNoPreviousVersion(Install.AppName);
}

bool RunningIdeGate() {
  if (ScriptSwitchIs(scriptkey::kCheckDelphi, "No")) return true;
  return CheckIdeNotRunning(Install.AppName);
}

void ReportExtractionFailure() {
  ShowMessage(std::string(kExtractionFailedText) + " " + kSupportAddress, kCaptionSetup, MB_ICONWARNING);
}

void RefuseDestination(const std::string& dir) {
  ShowMessage(dir.empty() ? std::string(kNoDestinationText) : FormatText(kRelativeDestinationText, {dir}),
              kCaptionSetup, MB_OK | MB_ICONWARNING);
}

bool ChooseDestination(std::string& dir) {
  if (ScriptSwitchIs(scriptkey::kPromptInstallDir, "No")) {
    dir = AddBackslash(dir);
    if (!IsFullPath(dir)) {
      RefuseDestination(dir);
      return false;
    }
    return true;
  }
  // Each refusal shows a new dialog with the text entered (a dialog runs once).
  std::string entered = dir;
  for (;;) {
    {
      TSelectDirDialog dialog(IDD_SELECT_DIR);
      dialog.SetDirectory(entered);
      if (!dialog.Execute()) return false;
      entered = dialog.Directory();
    }
    const std::string chosen = AddBackslash(entered);
    if (IsFullPath(chosen)) {
      dir = chosen;
      return true;
    }
    RefuseDestination(chosen);
  }
}

void RunAfterInstall() {
  const std::string file = ReadScriptString(scriptkey::kRunAfterInstall);
  if (file.empty()) return;
  if (ShowMessage(FormatText(kRunAfterText, {file}), kCaptionWelcome, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
  SetCurrentDirectoryA(Install.InstallDir.c_str());
  ShellExecuteA(nullptr, nullptr, (Install.InstallDir + file).c_str(), nullptr, nullptr, SW_SHOW);
}

bool InstallPayload(const std::string& destDir) {
  StagedPayload payload;
  if (!payload.Stage() || !payload.Extract(destDir)) return false;
  // Still under the progress dialog, which goes with the staged files.
  payload.Progress().ShowBuildingPackages();
  WriteProductRecord(Install.ProductName, Install.SubProductName, Install.InternalVersion, Install.InstallDir);
  CopyDesignIntfSource();
  BuildPackages();
  return true;
}

void RunInstallSteps() {
  if (!ConfirmWelcome()) return;
  if (!PreviousVersionGate()) return;
  if (!RunningIdeGate()) return;
  if (!ChooseDestination(Install.InstallDir)) return;
  if (!InstallPayload(Install.InstallDir)) {
    ReportExtractionFailure();
    return;
  }
  CreateProgramLinks();
  RegisterUninstall();
  WriteUninstallVersion();
  RegisterPackages();
  RegisterHelpFiles(WriteUninstallValue);
  RunAfterInstall();
  if (ScriptSwitchIs(scriptkey::kSuccessMessage, "Yes")) ShowMessage(kCompletedText, kCaptionSetup, MB_ICONINFORMATION);
}

int RunSetup() {
  InitCommonControls();
  CoInitialize(nullptr);
  SetUnhandledExceptionFilter(OnUnhandledFault);
  bool failed = false;
  try {
    RunStartedInstallation();
  } catch (const std::exception& error) {
    // The reason is for a developer (WINEDEBUG=+debugstr, a debugger); the
    // user is told only that the installation failed.
    OutputDebugStringA((std::string("Setup: ") + error.what() + "\n").c_str());
    failed = true;
  } catch (...) {
    OutputDebugStringA("Setup: unknown failure\n");
    failed = true;
  }
  // The lists go and COM is released before the failure is reported.
  Install = InstallState();
  CoUninitialize();
  if (failed) ShowFailure();
  return 0;
}
