#include "ide/package_rules.h"

#include <cstdint>

#include "state/paths.h"
#include "support/string_list.h"
#include "support/text.h"

const char* const kIncompatibleVersionText =
    "Incompatible version of Delphi/CPB.\r\nPlease download the latest patch from\r\n"
    "http://www.borland.com/devsupport/delphi/downloads/\r\n"
    "http://www.borland.com/devsupport/bcppbuilder/patches/";

namespace {

const char* const kOutputKeywords[] = {"Error:", "Borland", "Fatal:"};
constexpr char kEndOfText = '\x1A';

bool IsDelphi(IdeKind kind) { return kind % 2 == 0; }

}  // namespace

std::string FindFileByName(const StringList& files, const std::string& fileName) {
  if (fileName.empty()) return std::string();
  for (const std::string& file : files)
    if (SameTextAscii(ExtractFileName(file), fileName)) return file;
  return std::string();
}

BuildTool ChooseBuildTool(IdeKind kind, const std::string& sourceExt) {
  if (IsDelphi(kind)) return {"dcc32.exe", "-q -b"};
  if (SameTextAscii(sourceExt, ".pas")) return {"dcc32.exe", "-q -b -JPHN"};
  return {"make.exe", "-B -f"};
}

PackagePlacing PlacingFor(const std::string& sourceExt, const std::string& packageExt) {
  if (SameTextAscii(sourceExt, ".pas")) return {true, ".dcu", {}};
  if (SameTextAscii(sourceExt, ".dpk")) return {true, packageExt, {".dcu", ".dcp"}};
  if (SameTextAscii(sourceExt, ".bpk") || SameTextAscii(sourceExt, ".mak")) return {true, packageExt, {".tds", ".obj"}};
  if (SameTextAscii(sourceExt, ".dpr")) return {true, ".exe", {}};
  return {};
}

std::string PlacedPath(const std::string& targetDir, const std::string& sourcePath, const std::string& ext) {
  return AddBackslash(targetDir) + ExtractFileName(ChangeFileExt(sourcePath, ext));
}

bool SameDrive(const std::string& a, const std::string& b) {
  return SameTextAscii(ExtractFileDrive(a), ExtractFileDrive(b));
}

std::string FilterCompilerOutput(const std::string& text) {
  std::string result;
  size_t pos = 0;
  const size_t end = text.size();
  for (;;) {
    while (pos < end && text[pos] == ' ') ++pos;
    if (pos == end) return result;
    const size_t lineStart = pos;
    const size_t lineFeed = text.find('\n', lineStart);
    const size_t lineEnd = lineFeed == std::string::npos ? end : lineFeed;
    for (;;) {
      while (pos < lineEnd && text[pos] == ' ') ++pos;
      const size_t wordStart = pos;
      while (pos < lineEnd && text[pos] != ' ') ++pos;
      const std::string word = text.substr(wordStart, pos - wordStart);
      for (const char* keyword : kOutputKeywords)
        if (!word.empty() && SameTextAscii(word, keyword)) result += text.substr(lineStart, lineEnd - lineStart);
      if (pos == end) return result;
      if (pos == lineEnd) break;
    }
    pos = lineEnd + 1;
  }
}

std::string CapturedText(const std::string& bytes) {
  const size_t stop = bytes.find(kEndOfText);
  const size_t end = stop == std::string::npos ? bytes.size() : stop;
  std::string text;
  size_t pos = 0;
  while (pos < end) {
    const size_t cr = bytes.find('\r', pos);
    const size_t lineEnd = cr == std::string::npos || cr > end ? end : cr;
    text += bytes.substr(pos, lineEnd - pos) + "\r\n";
    pos = lineEnd;
    if (pos < end) ++pos;
    if (pos < end && bytes[pos] == '\n') ++pos;
  }
  return text;
}

std::string ExitCodeLine(unsigned long exitCode) {
  // Printed as a signed number, as exception codes such as 0xC0000005 read.
  return FormatText("Program failed with code (%d)", {std::to_string(static_cast<int32_t>(exitCode))}) + "\r\n";
}

std::string StartFailureText(const std::string& systemText, unsigned long errorCode) {
  size_t length = systemText.size();
  while (length > 0 && (static_cast<unsigned char>(systemText[length - 1]) <= ' ' || systemText[length - 1] == '.'))
    --length;
  std::string text = systemText.substr(0, length);
  if (!text.empty()) text += ". ";
  return text + "ErrorCode=" + std::to_string(errorCode);
}
