#pragma once
// The uninstaller runs from the folder it must remove. The original copies
// itself to the temporary folder, starts the copy and ends; the copy waits
// for it to end, so that the original and its folder can go, and finally
// has its own file deleted.
#include <cstdint>
#include <string>

// In the original: true when the copy runs (the original then ends at once).
bool HandOverToCopy(const std::string& appName);

// In the copy: waits for the original, whose inherited handle the command
// line gave, to end (at most half a minute).
void WaitForOriginal(std::uint64_t originalProcess);

// In the copy, last: deletes its own file, or, as a running program cannot,
// marks it for deletion at the next restart.
void RemoveOwnFile();
