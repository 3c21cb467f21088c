#include "uninstall/uninstaller.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <memory>

#include "dialogs/progress_dialog.h"
#include "ide/catalogue.h"
#include "support/message_box.h"
#include "uninstall/entry.h"
#include "uninstall/removal.h"
#include "uninstall/removal_rules.h"
#include "uninstall/self_copy.h"

namespace {

const char kProgressCaption[] = "Removing files";

void Tell(const std::string& text, unsigned icon) { ShowMessage(text, kCaptionUninstall, MB_OK | icon); }

// The steps in their order; the entry goes last, and only when no file is
// left, so that a run cut short or a file in use can be finished later.
Leftovers RemoveInstallation(const UninstallEntry& entry) {
  Leftovers leftovers;
  StringList deleted;
  {
    TProgressDialog progress;
    SetWindowTextA(progress.Handle(), kProgressCaption);
    deleted = RemoveInstalledFiles(entry, &progress, leftovers);
  }
  UnregisterFromIde(entry, deleted);
  RemoveFromProductRecord(entry);
  RemoveCreatedFolders(entry, leftovers);
  // Folders left with no file of the installation in them hold what is not
  // its own: nothing a second run could do, so they keep no entry.
  if (leftovers.files.empty()) DeleteUninstallEntry(entry.appName);
  return leftovers;
}

void Uninstall(const UninstallRequest& request) {
  if (request.appName.empty()) return Tell(MissingArgumentMessage(), MB_ICONERROR);
  UninstallEntry entry;
  if (!ReadUninstallEntry(request.appName, entry)) return Tell(NoEntryMessage(request.appName), MB_ICONERROR);
  if (!request.isCopy && HandOverToCopy(request.appName)) return;
  if (ShowMessage(ConfirmRemovalMessage(entry.appName), kCaptionUninstall, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  if (!CheckIdeNotRunning(entry.appName)) return;
  const Leftovers leftovers = RemoveInstallation(entry);
  Tell(ClosingMessage(entry.appName, leftovers), leftovers.Empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
}

}  // namespace

int RunUninstall(const std::string& commandLine) {
  InitCommonControls();
  const UninstallRequest request = ParseUninstallRequest(commandLine);
  if (request.isCopy) WaitForOriginal(request.originalProcess);
  try {
    Uninstall(request);
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
    Tell(UninstallFailedMessage(request.appName, e.what()), MB_ICONERROR);
  }
  if (request.isCopy) RemoveOwnFile();
  return 0;
}
