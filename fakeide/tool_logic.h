#pragma once
// What the substitute IDE's command-line tools and installer decide, without
// Windows headers: argument parsing, package contents, broken-source
// messages, produced files and the help contents text.
#include <string>
#include <vector>

// A compiler or make command line after the program name: options start
// with "-", the one other argument is the source.
struct ToolRequest {
  std::vector<std::string> options;
  std::string source;
  std::string error;  // why the command line was refused; empty when accepted
};
ToolRequest ParseToolArguments(const std::vector<std::string>& args);

// The unit files a package source's "contains" clause names, in order: the
// quoted file of "Unit in 'file'", else the unit name with ".pas".
std::vector<std::string> ContainedUnitFiles(const std::string& packageText);

// "name(line) Error: ..." for each line that holds the word BROKEN (any case).
std::vector<std::string> BrokenSourceMessages(const std::string& fileName, const std::string& text);

// The extensions written beside the source after a successful build, the
// compiled file first; `packageExt` is the edition's (".BPL", ".DPL" or empty).
std::vector<std::string> ProducedExtensions(const std::string& sourceExt, const std::string& packageExt);

// A help contents file for the edition: ":Base", ":Title", ":Index" lines,
// then topic lines; CR LF line ends.
std::string HelpContentsText(const std::string& editionName, const std::string& helpFileBase);

// A build given as "third.fourth" parts of a file version ("5.108"), as the
// double word they form; false when the text is not two numbers below 65536.
bool ParseBuild(const std::string& text, unsigned long& build);
