#include "uninstall/removal_rules.h"

#include <algorithm>

#include "support/command_line.h"
#include "support/string_list.h"
#include "support/text.h"

namespace {
const char kCopyOption[] = "/copy:";
}  // namespace

const char* const kCaptionUninstall = "Uninstall";

UninstallRequest ParseUninstallRequest(const std::string& commandLine) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  UninstallRequest request;
  size_t first = 1;
  if (args.size() > 1 && args[1].compare(0, sizeof kCopyOption - 1, kCopyOption) == 0) {
    const std::string number = args[1].substr(sizeof kCopyOption - 1);
    if (!number.empty() && number.find_first_not_of("0123456789") == std::string::npos) {
      request.isCopy = true;
      request.originalProcess = std::stoull(number);
      first = 2;
    }
  }
  if (args.size() > first) request.appName = args.back();
  return request;
}

std::string CopyCommandLine(const std::string& copyPath, std::uint64_t originalProcess, const std::string& appName) {
  return BuildCommandLine(copyPath, kCopyOption + std::to_string(originalProcess), {appName});
}

std::vector<std::string> DeepestFirst(const StringList& folders) {
  std::vector<std::string> order = folders.Items();
  const auto depth = [](const std::string& path) {
    // A trailing separator does not make a folder deeper.
    size_t n = std::count(path.begin(), path.end(), '\\');
    return (!path.empty() && path.back() == '\\') ? n - 1 : n;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
  return order;
}

std::string MissingArgumentMessage() {
  return "The uninstaller needs the name of the product to remove. Start it from the list of installed "
         "programs (Add/Remove Programs).";
}

std::string NoEntryMessage(const std::string& appName) {
  return FormatText("%s is not installed: there is no record of its installation to remove.", {appName});
}

std::string ConfirmRemovalMessage(const std::string& appName) {
  return FormatText(
      "%s will be removed from this computer: its files, its packages and help in the IDE, and its "
      "records.\r\n\r\nPress the OK button to remove it.\r\nPress the Cancel button to keep it.",
      {appName});
}

std::string ClosingMessage(const std::string& appName, const Leftovers& leftovers) {
  if (leftovers.Empty()) return FormatText("%s was removed.", {appName});
  std::string text;
  if (!leftovers.files.empty()) {
    text = FormatText(
        "%s was removed, except the following, which could not be (a file in use or a folder that is not "
        "empty). They stay recorded: close the programs that use them and run the uninstaller again to "
        "finish.\r\n",
        {appName});
    for (const std::string& file : leftovers.files) text += "\r\n" + file;
    for (const std::string& folder : leftovers.folders) text += "\r\n" + FormatText("%s (folder not empty)", {folder});
    return text;
  }
  text = FormatText(
      "%s was removed. These folders were left in place, as they hold files that were not "
      "installed with it:\r\n",
      {appName});
  for (const std::string& folder : leftovers.folders) text += "\r\n" + folder;
  return text;
}

std::string UninstallFailedMessage(const std::string& appName, const std::string& reason) {
  return FormatText("%s could not be removed completely: %s\r\n\r\nRun the uninstaller again to finish.",
                    {appName, reason});
}
