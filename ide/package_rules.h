#pragma once
// The package builder's decisions (no Windows headers): which IDE tool
// builds a source, where its result goes, what of the tool's output the
// user is shown, and the texts of a run.
#include <string>
#include <vector>

#include "state/ide_table.h"

class StringList;

// The first entry of `files` whose file name (after the last "\" or ":")
// equals `fileName` whole, ASCII case ignored; empty when there is none or
// `fileName` is empty.
std::string FindFileByName(const StringList& files, const std::string& fileName);

// The tool file in the IDE's "Bin\" folder and its options: Delphi editions
// compile everything with dcc32; C++Builder editions compile units with
// dcc32 and hand every other source to make.
struct BuildTool {
  const char* file;
  const char* options;
};
BuildTool ChooseBuildTool(IdeKind kind, const std::string& sourceExt);

// What a successful build leaves beside the source: the file moved to the
// target folder (source name with `producedExt`) and the by-products deleted.
// `placed` is false for a source the builder knows no result of.
struct PackagePlacing {
  bool placed = false;
  std::string producedExt;
  std::vector<std::string> byProducts;
};
// `packageExt` is the edition's upper-case package extension.
PackagePlacing PlacingFor(const std::string& sourceExt, const std::string& packageExt);

// `targetDir` (with a "\" added when it has none and is not empty) followed
// by the source's file name with `ext`.
std::string PlacedPath(const std::string& targetDir, const std::string& sourcePath, const std::string& ext);
// True when both paths are on one drive or share (ASCII case ignored), so a
// move needs no copy.
bool SameDrive(const std::string& a, const std::string& b);

// The lines of a tool's output holding the word "Error:", "Borland" or
// "Fatal:" (ASCII case ignored; words end at blanks and line feeds only), each
// from its first non-blank up to its line feed, once per matching word.
std::string FilterCompilerOutput(const std::string& text);

// A capture file's bytes as text: a line ends at CR (an LF right after it is
// dropped, any other LF stays in the line), 0x1A or the end ends the text,
// and every line is followed by CR LF.
std::string CapturedText(const std::string& bytes);

// "Program failed with code (<code>)" and CR LF: the first line of every run's
// output, whatever the code.
std::string ExitCodeLine(unsigned long exitCode);

// What a tool that could not be started leaves as its output: the system's
// text for the error without trailing blanks, control characters and dots,
// then ". " (when there is a text), "ErrorCode=" and the code.
std::string StartFailureText(const std::string& systemText, unsigned long errorCode);

// Shown, caption "Setup", when a build fails on an IDE of another build.
extern const char* const kIncompatibleVersionText;
