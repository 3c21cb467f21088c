#include "rarwriter/folder_entries.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::uint32_t ModificationTime(const fs::path& p) {
  // file_time_type has no portable epoch in C++17: measure from now.
  const auto age = fs::file_time_type::clock::now() - fs::last_write_time(p);
  const auto now = std::chrono::system_clock::now();
  const auto when = std::chrono::duration_cast<std::chrono::seconds>((now - age).time_since_epoch());
  return UnixToDosTime(when.count());
}

// Deliberately not support/files.h: the path may name a file outside the ANSI
// code page, which only the wide-character open behind fs::path reaches.
std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Collect(const fs::path& folder, const std::string& prefix, std::vector<RarEntry>& out) {
  std::vector<fs::directory_entry> children{fs::directory_iterator(folder), fs::directory_iterator()};
  std::sort(children.begin(), children.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
  for (const fs::directory_entry& child : children) {
    RarEntry e;
    e.name = prefix + child.path().filename().u8string();
    e.utf8Name = true;
    e.dosTime = ModificationTime(child.path());
    e.folder = child.is_directory();
    const bool writable = (child.status().permissions() & fs::perms::owner_write) != fs::perms::none;
    e.attributes = e.folder ? 0x10 : 0x20;
    if (!writable) e.attributes |= 0x01;
    if (!e.folder) e.data = ReadAll(child.path());
    out.push_back(std::move(e));
    if (child.is_directory()) Collect(child.path(), out.back().name + "\\", out);
  }
}

}  // namespace

std::vector<RarEntry> FolderEntries(const std::string& root) {
  std::vector<RarEntry> out;
  Collect(fs::path(root), "", out);
  return out;
}
