#pragma once
// Writes setup-script values into an installer executable as named RT_RCDATA
// resources in the neutral language, byte for byte. An empty value leaves
// the key out (a resource of 0 bytes reads like a missing one).
#include <string>
#include <utility>
#include <vector>

using ScriptValues = std::vector<std::pair<std::string, std::string>>;

// Adds (or replaces) one resource per value in the executable `exePath`.
// Returns false with a reason in `error` when the file cannot be updated.
bool WriteScriptResources(const std::string& exePath, const ScriptValues& values, std::string* error);
