#pragma once
// Starts a console tool hidden, waits for it without a time limit and
// captures what it writes to its standard output.
#include <string>

// Runs `commandLine` in `workDir` (the installer's own folder when empty);
// true when the program ends with exit code 0. `outputText` then starts with
// the exit-code line followed by the captured lines (with `capture`), or by
// its earlier text (without). A program that cannot be started leaves the
// system's text for the error and "ErrorCode=<code>" instead.
bool RunProgram(const std::string& commandLine, const std::string& workDir, std::string& outputText, bool capture);
