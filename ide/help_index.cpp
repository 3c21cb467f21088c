#include "ide/help_index.h"

#include "ide/help_contents.h"
#include "ide/text_file.h"

void RemoveHelpIndex(const std::string& helpFile, const std::string& contentsFile) {
  std::vector<std::string> lines = ContentsLines(LoadTextFile(contentsFile));
  if (RemoveIndexLine(lines, helpFile)) SaveTextFile(contentsFile, ContentsText(lines));
}

void AddHelpIndex(const std::string& helpFile, const std::string& title, const std::string& contentsFile) {
  RemoveHelpIndex(helpFile, contentsFile);
  std::vector<std::string> lines = ContentsLines(LoadTextFile(contentsFile));
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(IndexInsertPosition(lines)), IndexLine(title, helpFile));
  SaveTextFile(contentsFile, ContentsText(lines));
}
