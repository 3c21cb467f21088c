#pragma once
// The payload archive of an installer: a ready RAR archive, or a folder
// packed into one.
#include <string>

// Fills `archive` with the bytes of the RAR archive at `path`, or of a new
// archive made from the folder at `path`. False with a reason in `error`.
bool LoadPayload(const std::string& path, std::string& archive, std::string& error);
