#pragma once
// An archive in memory read back with libarchive's RAR 5 reader: the host's
// natively, our cross-built one under Wine.
#include <cstdint>
#include <string>
#include <vector>

struct ReadEntry {
  std::string name;  // UTF-8, "/" between names
  bool folder = false;
  std::int64_t size = 0;
  std::int64_t mtime = -1;
  std::string data;
};

struct ReadResult {
  std::vector<ReadEntry> entries;
  int lastStatus = 0;  // ARCHIVE_EOF when the walk reached the end cleanly
  std::string error;
};

ReadResult ReadWithLibarchive(const std::string& bytes);
