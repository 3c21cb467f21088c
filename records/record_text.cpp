#include "records/record_text.h"

#include "support/command_line.h"
#include "support/string_list.h"
#include "support/text.h"

const char* const kMakerKeyPath = "\\Software\\Corvane Company";
const char* const kInstalledProductsPath = "\\Software\\Corvane Company\\InstalledProducts";
const char* const kSharedFileCountsPath = "\\Software\\Corvane Company\\InstalledFiles";
const char* const kUninstallRootPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ProductRecordPath(const std::string& productName) {
  return std::string(kInstalledProductsPath) + "\\" + productName;
}

std::string UninstallEntryPath(const std::string& appName) { return std::string(kUninstallRootPath) + "\\" + appName; }

std::string UninstallFilesPath(const std::string& appName) { return UninstallEntryPath(appName) + "\\Files"; }

std::string PreviousVersionMessage(const std::string& appName) {
  return FormatText(
      "Setup has detected that previous version of %s is already installed. It is highly recommended that "
      "you uninstall previous version before you can install %s.\r\n\r\n"
      "Press the OK button to continue the installation.\r\n"
      "Press the Cancel button to abort the installation.",
      {appName, appName});
}

std::string UninstallCommand(const std::string& installDir, const std::string& appName) {
  return QuoteArgument(installDir + "UnInstall.exe") + " " + QuoteArgument(appName);
}

std::string ReplaceChar(const std::string& text, char from, char to) {
  std::string out = text;
  for (char& c : out)
    if (c == from) c = to;
  return out;
}

void SplitToList(const std::string& text, char separator, StringList& list) {
  for (const std::string& piece : SplitLines(ReplaceChar(text, separator, '\n'))) list.Add(piece);
}
