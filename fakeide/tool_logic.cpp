#include "fakeide/tool_logic.h"

#include <cctype>

#include "support/text.h"

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Position of `word` standing alone (ASCII case ignored) at or after `from`.
size_t FindWord(const std::string& text, const std::string& word, size_t from = 0) {
  for (size_t i = from; i + word.size() <= text.size(); ++i) {
    if (i > 0 && IsWordChar(text[i - 1])) continue;
    if (i + word.size() < text.size() && IsWordChar(text[i + word.size()])) continue;
    if (SameTextAscii(text.substr(i, word.size()), word)) return i;
  }
  return std::string::npos;
}

}  // namespace

ToolRequest ParseToolArguments(const std::vector<std::string>& args) {
  ToolRequest request;
  for (const std::string& arg : args) {
    if (!arg.empty() && arg[0] == '-') {
      request.options.push_back(arg);
    } else if (request.source.empty()) {
      request.source = arg;
    } else {
      request.error = "Fatal: Too many source files: '" + arg + "'";
      return request;
    }
  }
  if (request.source.empty()) request.error = "Fatal: No source file given";
  return request;
}

std::vector<std::string> ContainedUnitFiles(const std::string& packageText) {
  std::vector<std::string> files;
  const size_t start = FindWord(packageText, "contains");
  if (start == std::string::npos) return files;
  const size_t listStart = start + 8;
  const size_t end = packageText.find(';', listStart);
  const std::string list =
      packageText.substr(listStart, end == std::string::npos ? std::string::npos : end - listStart);
  for (const std::string& rawEntry : SplitOn(list, ',')) {
    const std::string entry = Trim(rawEntry, " \t\r\n\v\f");
    if (entry.empty()) continue;
    const size_t quote = entry.find('\'');
    if (quote != std::string::npos) {
      const size_t close = entry.find('\'', quote + 1);
      files.push_back(entry.substr(quote + 1, close == std::string::npos ? std::string::npos : close - quote - 1));
    } else {
      files.push_back(entry + ".pas");
    }
  }
  return files;
}

std::vector<std::string> BrokenSourceMessages(const std::string& fileName, const std::string& text) {
  std::vector<std::string> messages;
  const std::vector<std::string> lines = SplitOn(text, '\n');
  for (size_t i = 0; i < lines.size(); ++i)
    if (FindWord(lines[i], "BROKEN") != std::string::npos)
      messages.push_back(fileName + "(" + std::to_string(i + 1) + ") Error: Undeclared identifier: 'BROKEN'");
  return messages;
}

std::vector<std::string> ProducedExtensions(const std::string& sourceExt, const std::string& packageExt) {
  if (SameTextAscii(sourceExt, ".pas")) return {".dcu"};
  if (SameTextAscii(sourceExt, ".dpr")) return {".exe"};
  std::vector<std::string> produced;
  if (!packageExt.empty()) produced.push_back(packageExt);
  if (SameTextAscii(sourceExt, ".dpk")) {
    produced.push_back(".dcu");
    produced.push_back(".dcp");
  } else if (SameTextAscii(sourceExt, ".bpk") || SameTextAscii(sourceExt, ".mak")) {
    produced.push_back(".tds");
    produced.push_back(".obj");
  } else {
    produced.clear();
  }
  return produced;
}

std::string HelpContentsText(const std::string& editionName, const std::string& helpFileBase) {
  const char* const indexes[][2] = {{"Object Pascal Reference", "del5op.hlp"},
                                    {"Visual Component Library Reference", "del5vcl.hlp"},
                                    {"Programmer's Guide", "del5prog.hlp"},
                                    {"Windows SDK", "win32.hlp"}};
  std::string text = ":Base " + helpFileBase + ".hlp\r\n:Title " + editionName + " Help\r\n";
  for (const auto& index : indexes) text += std::string(":Index ") + index[0] + " =" + index[1] + "\r\n";
  text += "1 Getting Started\r\n2 What's New=WhatsNew@" + helpFileBase + ".hlp\r\n2 Quick Tour=QuickTour\r\n";
  text += "1 Programming\r\n2 Object Pascal=OPRef>main\r\n2 Components=VCLRef\r\n";
  return text;
}

bool ParseBuild(const std::string& text, unsigned long& build) {
  const std::vector<std::string> parts = SplitOn(text, '.');
  if (parts.size() != 2) return false;
  unsigned long words[2];
  for (int i = 0; i < 2; ++i) {
    if (parts[i].empty() || parts[i].size() > 5) return false;
    for (char c : parts[i])
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    words[i] = std::stoul(parts[i]);
    if (words[i] > 0xFFFF) return false;
  }
  build = (words[0] << 16) | words[1];
  return true;
}
