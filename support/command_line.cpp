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
