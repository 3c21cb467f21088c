#pragma once
// The one place where command lines are put together.
#include <string>
#include <vector>

// `arg` in double quotes, written so that the C runtime's parser (and
// CommandLineToArgvW) gives back exactly `arg`: backslashes before a quote or
// before the closing quote are doubled, quotes are escaped.
std::string QuoteArgument(const std::string& arg);

// A program and its arguments: the program path quoted, each argument of
// `quoted` quoted, the options `plain` passed as written.
std::string BuildCommandLine(const std::string& program, const std::string& plainOptions,
                             const std::vector<std::string>& quotedArgs);

// The arguments of a command line as the C runtime's parser gives them: the
// program name first (up to the closing quote when it starts with one, else
// up to the first blank), then each argument with QuoteArgument's quoting
// undone (backslashes before a quote halved, a quote preceded by an odd run
// of them taken literally).
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
