// The substitute dcc32.exe and make.exe (FAKE_MAKE): compile one source in
// the way the installer relies on, messages one per line on standard output.
// Each call is noted in the root folder's tools.log ("folder>command line"),
// so that tests can see how the tools were started.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fakeide/edition_marker.h"
#include "fakeide/tool_logic.h"
#include "state/ide_table.h"
#include "state/paths.h"
#include "support/files.h"
#include "support/text.h"

namespace {

const char kToolsLogName[] = "tools.log";

// One "folder>command line" line at the end of the log.
void NoteCall(const std::string& logPath) {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  const std::string line = std::string(folder) + ">" + GetCommandLineA() + "\r\n";
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), log);
    std::fclose(log);
  }
}

void Say(const std::string& line) { std::printf("%s\n", line.c_str()); }

int Fail(const std::vector<std::string>& messages) {
  for (const std::string& line : messages) Say(line);
#ifdef FAKE_MAKE
  Say("** error 1 ** deleting output");
#endif
  return 1;
}

// The broken-source messages of the package's units; a "Fatal:" line for the
// first unit file that is not there.
bool CheckContainedUnits(const std::string& folder, const std::string& packageText,
                         std::vector<std::string>& messages) {
  for (const std::string& unit : ContainedUnitFiles(packageText)) {
    const std::string path = IsFullPath(unit) ? unit : folder + unit;
    std::string unitText;
    if (ReadWholeFile(path, unitText) != FileStatus::kOk) {
      messages.push_back("Fatal: File not found: '" + unit + "'");
      return false;
    }
    for (const std::string& m : BrokenSourceMessages(ExtractFileName(unit), unitText)) messages.push_back(m);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  NoteCall(OwnRootDir() + kToolsLogName);
#ifdef FAKE_MAKE
  Say("MAKE Version 5.2  Copyright (c) 1987, 2000 Borland");
#endif
  const ToolRequest request = ParseToolArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!request.error.empty()) return Fail({request.error});
  std::string text;
  if (ReadWholeFile(request.source, text) != FileStatus::kOk)
    return Fail({"Fatal: File not found: '" + request.source + "'"});

  const std::string ext = ExtractFileExt(request.source);
  std::vector<std::string> messages = BrokenSourceMessages(ExtractFileName(request.source), text);
  if (SameTextAscii(ext, ".dpk") && !CheckContainedUnits(ExtractFilePath(request.source), text, messages))
    return Fail(messages);
  if (!messages.empty()) return Fail(messages);

  const std::string code = ReadMarkerCode(OwnRootDir());
  const std::string packageExt = code.empty() ? ".BPL" : GetPackageExt(IdeKindFromCode(code));
  for (const std::string& produced : ProducedExtensions(ext, packageExt)) {
    const std::string path = ChangeFileExt(request.source, produced);
    if (WriteWholeFile(path, "compiled from " + ExtractFileName(request.source) + "\r\n") != FileStatus::kOk)
      return Fail({"Fatal: Could not create output file '" + path + "'"});
  }
  const size_t lines = std::count(text.begin(), text.end(), '\n') + (text.empty() || text.back() != '\n');
  Say(std::to_string(lines) + " lines, 0.05 seconds, 1024 bytes code, 128 bytes data.");
  return 0;
}
