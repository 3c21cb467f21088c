#include "support/command_line.h"

std::string QuoteArgument(const std::string& arg) {
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  out += '"';
  return out;
}

std::string BuildCommandLine(const std::string& program, const std::string& plainOptions,
                             const std::vector<std::string>& quotedArgs) {
  std::string line = QuoteArgument(program);
  if (!plainOptions.empty()) line += " " + plainOptions;
  for (const std::string& a : quotedArgs) line += " " + QuoteArgument(a);
  return line;
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = commandLine.size();
  // The program name knows no escapes: quotes only group.
  std::string program;
  bool quoted = false;
  for (; i < n && (quoted || !IsBlank(commandLine[i])); ++i) {
    if (commandLine[i] == '"')
      quoted = !quoted;
    else
      program += commandLine[i];
  }
  args.push_back(program);
  for (;;) {
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i >= n) return args;
    std::string arg;
    quoted = false;
    while (i < n && (quoted || !IsBlank(commandLine[i]))) {
      size_t backslashes = 0;
      while (i < n && commandLine[i] == '\\') ++backslashes, ++i;
      if (i < n && commandLine[i] == '"') {
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2) {
          arg += '"';
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(backslashes, '\\');
        if (i < n && (quoted || !IsBlank(commandLine[i]))) arg += commandLine[i++];
      }
    }
    args.push_back(arg);
  }
}
