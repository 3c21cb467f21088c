#pragma once
// Wine's folder browser finds its start folder by comparing item lists that
// hold access times. Reading a folder that changed since it was last read
// moves its access time (relatime), so the first look-up of a fresh folder
// misses. Reading the folders beforehand settles their access times.
#include <string>

// Lists each folder of `path` from its drive root down (up to its last "\").
void ReadFoldersUpTo(const std::string& path);
