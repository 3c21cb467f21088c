#include "tests/rarwriter/libarchive_read.h"

#include <archive.h>
#include <archive_entry.h>

ReadResult ReadWithLibarchive(const std::string& bytes) {
  ReadResult result;
  struct archive* a = archive_read_new();
  archive_read_support_format_rar5(a);
  if (archive_read_open_memory(a, bytes.data(), bytes.size()) != ARCHIVE_OK) {
    result.lastStatus = ARCHIVE_FATAL;
    archive_read_free(a);
    return result;
  }
  struct archive_entry* e = nullptr;
  while ((result.lastStatus = archive_read_next_header(a, &e)) == ARCHIVE_OK) {
    ReadEntry r;
    const char* name = archive_entry_pathname_utf8(e);
    r.name = name ? name : "";
    r.folder = archive_entry_filetype(e) == AE_IFDIR;
    r.size = archive_entry_size(e);
    if (archive_entry_mtime_is_set(e)) r.mtime = archive_entry_mtime(e);
    char buf[4096];
    la_ssize_t n = 0;
    if (!r.folder)  // libarchive refuses to read a folder's data
      while ((n = archive_read_data(a, buf, sizeof buf)) > 0) r.data.append(buf, n);
    result.entries.push_back(r);
    if (n < 0) {
      result.lastStatus = static_cast<int>(n);
      break;
    }
  }
  if (archive_error_string(a)) result.error = archive_error_string(a);
  archive_read_free(a);
  return result;
}
