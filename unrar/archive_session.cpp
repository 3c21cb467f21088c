#include "unrar/archive_session.h"

#include <windows.h>
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "rarwriter/crc32.h"
#include "support/handles.h"
#include "unrar/header_fields.h"

namespace {

std::wstring ToWide(const std::string& s, UINT codePage) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

// A letter stored decomposed (the letter, then its accent) comes out as the
// code page's one character where it has one: libarchive leaves names as
// they are stored on Windows (our patch to it). A UTF-8 code page takes no
// flags here, and keeps them decomposed.
std::string ToAnsi(const std::wstring& w) {
  if (w.empty()) return std::string();
  const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_COMPOSITECHECK;
  int n = WideCharToMultiByte(CP_ACP, flags, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_ACP, flags, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

// The entry's path in the ANSI code page. libarchive keeps names it read as
// wide or UTF-8 (RAR 5, and RAR 4 Unicode names) or as the archive's raw bytes.
std::string EntryName(struct archive_entry* entry) {
  if (const wchar_t* wide = archive_entry_pathname_w(entry)) return BackslashPath(ToAnsi(wide));
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return BackslashPath(ToAnsi(ToWide(utf8, CP_UTF8)));
  const char* raw = archive_entry_pathname(entry);
  return BackslashPath(raw ? raw : "");
}

// A path the wide file calls take at any length.
std::wstring FilePath(const std::string& ansi) {
  std::wstring w = ToWide(ansi, CP_ACP);
  if (w.size() < MAX_PATH - 12) return w;
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(w.c_str(), n, &full[0], nullptr);
  full.resize(n);
  if (full.compare(0, 4, L"\\\\?\\") == 0) return full;
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

unsigned DosTime(struct archive_entry* entry) {
  if (!archive_entry_mtime_is_set(entry)) return 0;
  ULARGE_INTEGER t;
  t.QuadPart = (static_cast<ULONGLONG>(archive_entry_mtime(entry)) + 11644473600ULL) * 10000000ULL;
  FILETIME utc = {t.LowPart, t.HighPart};
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return 0;
  return (static_cast<unsigned>(date) << 16) | time;
}

// The archive path a hard-link entry shares its data with; empty for others.
std::string HardLinkTarget(struct archive_entry* entry) {
  if (const wchar_t* wide = archive_entry_hardlink_w(entry)) return BackslashPath(ToAnsi(wide));
  if (const char* utf8 = archive_entry_hardlink_utf8(entry)) return BackslashPath(ToAnsi(ToWide(utf8, CP_UTF8)));
  const char* raw = archive_entry_hardlink(entry);
  return BackslashPath(raw ? raw : "");
}

bool IsFolder(struct archive_entry* entry) { return archive_entry_filetype(entry) == AE_IFDIR; }

// The header flag when the condition holds (the flags are enumerators).
unsigned FlagIf(bool on, unsigned flag) { return on ? flag : 0; }

unsigned Attributes(struct archive_entry* entry) {
  if (IsFolder(entry)) return FILE_ATTRIBUTE_DIRECTORY;
  unsigned long set = 0, clear = 0;
  archive_entry_fflags(entry, &set, &clear);
  unsigned attr =
      FILE_ATTRIBUTE_ARCHIVE | (set & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  if (!(archive_entry_perm(entry) & 0222)) attr |= FILE_ATTRIBUTE_READONLY;
  return attr;
}

// The folders an entry goes into (not the installer's recording
// CreateFolders); returns whether the innermost one is there now.
bool CreateEntryFolders(const std::vector<std::string>& folders) {
  bool there = true;
  for (const std::string& f : folders)
    there = CreateDirectoryW(FilePath(f).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
  return there;
}

// libarchive's RAR 5 reader option (ours, a patch to it) that skips a solid
// stream's data without unpacking it.
const char kSkipUnread[] = "skip_unread";

struct archive* OpenReader(const std::wstring& path, bool skipUnread, int* error) {
  struct archive* reader = archive_read_new();
  if (!reader) return *error = ERAR_NO_MEMORY, nullptr;
  archive_read_support_format_rar(reader);
  archive_read_support_format_rar5(reader);
  if (skipUnread) archive_read_set_format_option(reader, "rar5", kSkipUnread, "1");
  if (archive_read_open_filename_w(reader, path.c_str(), 1 << 16) != ARCHIVE_OK) *error = ERAR_BAD_ARCHIVE;
  return reader;
}

// Reads the archive for the header scan through a window of 4 KB, so that
// the scan's small reads cost one system call per window, not two per read.
// The window is small because the scan leaps over each file's data: a window
// of 64 KB read 64 KB per file of 64 KB or more (a payload of 1,000 files of
// 100 KB took 41 ms to list, 25 ms with 4 KB).
class WindowedReader {
 public:
  explicit WindowedReader(HANDLE file) : file_(file), window_(1 << 12) {}
  std::size_t Read(std::uint64_t offset, void* buffer, std::size_t size) {
    if (offset < start_ || offset + size > start_ + filled_) {
      if (size > window_.size()) return ReadAt(offset, buffer, size);
      start_ = offset;
      filled_ = ReadAt(offset, window_.data(), window_.size());
    }
    const std::size_t skip = static_cast<std::size_t>(offset - start_);
    const std::size_t n = filled_ > skip ? std::min(size, filled_ - skip) : 0;
    std::memcpy(buffer, window_.data() + skip, n);
    return n;
  }

 private:
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr))
      return 0;
    return got;
  }

  HANDLE file_;
  std::vector<char> window_;
  std::uint64_t start_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace

int ArchiveSession::Open(const std::string& arcName) {
  arcName_ = arcName;
  const std::wstring path = FilePath(arcName);
  FileHandle probe(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe) return ERAR_EOPEN;
  WindowedReader window(probe.Get());
  for (const ScannedEntry& e : ScanRarHeaders(
           [&window](std::uint64_t offset, void*buffer, std::size_t size) { return window.Read(offset, buffer, size); },
           &scanCutShort_))
    if (!e.splitBefore) scan_.push_back(e);
  probe.Reset();
  int error = 0;
  reader_ = OpenReader(path, true, &error);
  return error;
}

ArchiveSession::~ArchiveSession() {
  if (reader_) archive_read_free(reader_);
}

int ArchiveSession::DataError() const {
  if (entry_ && archive_entry_is_encrypted(entry_))
    return password.empty() ? ERAR_MISSING_PASSWORD : ERAR_UNKNOWN_FORMAT;
  return ERAR_BAD_DATA;
}

const ScannedEntry* ArchiveSession::Scanned() const {
  return scanValid_ && scanIndex_ < scan_.size() ? &scan_[scanIndex_] : nullptr;
}

void ArchiveSession::MatchScan() {
  const ScannedEntry* s = Scanned();
  // Links carry their target as data that libarchive does not count.
  const unsigned type = archive_entry_filetype(entry_);
  const bool sized = type == AE_IFREG || type == 0;
  const std::int64_t size = IsFolder(entry_) ? 0 : archive_entry_size(entry_);
  // RAR 5 names are UTF-8 on both sides, byte for byte.
  const char* utf8 = archive_entry_pathname_utf8(entry_);
  const bool rar5 = archive_format(reader_) == ARCHIVE_FORMAT_RAR_V5;
  if (!s || s->folder != IsFolder(entry_) || (sized && static_cast<std::int64_t>(s->unpSize) != size) ||
      (rar5 && utf8 && s->name != utf8))
    scanValid_ = false;
}

int ArchiveSession::Advance() {
  if (entry_) ++scanIndex_;
  entry_ = nullptr;
  pending_ = false;
  struct archive_entry* entry = nullptr;
  const int r = archive_read_next_header(reader_, &entry);
  // libarchive reads an archive cut between two entries as complete.
  if (r == ARCHIVE_EOF) return scanCutShort_ ? ERAR_BAD_DATA : ERAR_END_ARCHIVE;
  if (r < ARCHIVE_WARN) {
    if (archive_read_has_encrypted_entries(reader_) > 0)
      return password.empty() ? ERAR_MISSING_PASSWORD : ERAR_BAD_DATA;
    return ERAR_BAD_DATA;
  }
  entry_ = entry;
  pending_ = true;
  entryName_ = EntryName(entry);
  MatchScan();
  return 0;
}

int ArchiveSession::Skip() {
  pending_ = false;
  if (archive_read_data_skip(reader_) == ARCHIVE_OK) return 0;
  // The reader cannot find the next header: the walk ends here, with an error.
  endCode_ = ERAR_BAD_DATA;
  return DataError();
}

int ArchiveSession::ReadHeader(RARHeaderData* header) {
  if (!header) return ERAR_UNKNOWN;
  if (pending_) {
    // The previous entry was neither skipped nor extracted: move past it.
    if (int r = Skip()) return r;
  }
  if (endCode_) return endCode_;
  if (int r = Advance()) return endCode_ = r;
  CopyTextField(header->ArcName, sizeof header->ArcName, arcName_);
  CopyTextField(header->FileName, sizeof header->FileName, entryName_);
  const bool folder = IsFolder(entry_);
  const bool encrypted = archive_entry_is_encrypted(entry_);
  header->Flags = FlagIf(folder, RHDF_DIRECTORY) | FlagIf(encrypted, RHDF_ENCRYPTED);
  header->UnpSize = folder ? 0 : static_cast<unsigned>(archive_entry_size(entry_));
  header->FileTime = DosTime(entry_);
  header->UnpVer = archive_format(reader_) == ARCHIVE_FORMAT_RAR_V5 ? 50 : 29;
  header->HostOS = RAR_HOST_WIN32;
  header->PackSize = 0;
  header->FileCRC = 0;
  header->Method = 0;
  if (const ScannedEntry* scanned = Scanned()) {
    header->Flags |= FlagIf(scanned->splitBefore, RHDF_SPLITBEFORE) | FlagIf(scanned->splitAfter, RHDF_SPLITAFTER) |
                     FlagIf(scanned->encrypted, RHDF_ENCRYPTED) | FlagIf(scanned->solid, RHDF_SOLID);
    header->PackSize = static_cast<unsigned>(scanned->packSize);
    header->FileCRC = scanned->crc;
    header->HostOS = scanned->hostOS;
    header->UnpVer = scanned->unpVer;
    header->Method = scanned->method;
  }
  header->FileAttr = Attributes(entry_);
  header->CmtSize = 0;
  header->CmtState = 0;
  return 0;
}

int ArchiveSession::ProcessFile(int operation, const char* destPath, const char* destName) {
  if (!entry_ || !pending_) return ERAR_UNKNOWN;
  if (operation == RAR_SKIP) return Skip();
  if (operation != RAR_TEST && operation != RAR_EXTRACT) return ERAR_UNKNOWN;
  if (int r = WantData()) return r;
  if (archive_entry_is_encrypted(entry_)) {
    Skip();
    return DataError();
  }
  if (operation == RAR_TEST) return Extract(operation, std::string());
  const std::string target = ExtractTarget(destPath ? destPath : "", destName ? destName : "", entryName_);
  if (target.empty()) {
    Skip();
    return ERAR_ECREATE;
  }
  return Extract(operation, target);
}

// A walk that only skips (a listing, or a count of the sizes) never unpacks a
// solid RAR 5 stream. The first entry whose data is wanted ends that: the
// reader starts again without the option (libarchive takes options only
// before it opens) and unpacks its way to this entry, which is the work the
// skips before it would otherwise have done; after it, each skip unpacks.
// (libarchive's RAR 4 reader has no such skip: it unpacks as it skips.)
int ArchiveSession::WantData() {
  if (!skipUnread_) return 0;
  skipUnread_ = false;
  return archive_format(reader_) == ARCHIVE_FORMAT_RAR_V5 ? Reread() : 0;
}

int ArchiveSession::Reread() {
  archive_read_free(reader_);
  entry_ = nullptr;
  pending_ = false;
  int error = 0;
  reader_ = OpenReader(FilePath(arcName_), false, &error);
  // The current entry is the walk's entry number scanIndex_, counted from 0.
  struct archive_entry* entry = nullptr;
  for (std::size_t i = 0; error == 0 && i <= scanIndex_; ++i) {
    if (archive_read_next_header(reader_, &entry) < ARCHIVE_WARN ||
        (i < scanIndex_ && archive_read_data_skip(reader_) != ARCHIVE_OK))
      error = ERAR_BAD_DATA;
  }
  // An entry before this one is damaged, or the archive changed meanwhile.
  if (error || !entry || EntryName(entry) != entryName_) return endCode_ = ERAR_BAD_DATA;
  entry_ = entry;
  pending_ = true;
  return 0;
}

int ArchiveSession::Extract(int operation, const std::string& target) {
  pending_ = false;
  const bool folder = IsFolder(entry_);
  const unsigned type = archive_entry_filetype(entry_);
  if (folder) {
    if (operation == RAR_EXTRACT) {
      std::vector<std::string> folders = ParentFolders(target);
      folders.push_back(target);
      CreateEntryFolders(folders);
    }
    return Skip();
  }
  if (operation == RAR_TEST) return CopyData(INVALID_HANDLE_VALUE);
  if (type != AE_IFREG && type != 0) {
    // Symbolic links are not made: an error, so that no caller records a
    // file that is not there.
    if (int r = Skip()) return r;
    return ERAR_ECREATE;
  }
  // Entries come folder by folder: the folders of the last file are there.
  const std::vector<std::string> folders = ParentFolders(target);
  if (!folders.empty() && folders.back() != madeFolder_)
    madeFolder_ = CreateEntryFolders(folders) ? folders.back() : std::string();
  const std::wstring path = FilePath(target);
  const std::string linkTarget = HardLinkTarget(entry_);
  if (!linkTarget.empty()) return ExtractHardLink(linkTarget, path);
  auto create = [&path] {
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  FileHandle file(create());
  if (!file && GetLastError() == ERROR_ACCESS_DENIED &&
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL))  // a read-only file of an earlier run is replaced
    file.Reset(create());
  if (!file) {
    Skip();
    return ERAR_ECREATE;
  }
  int r = CopyData(file.Get());
  if (r == 0 && archive_entry_mtime_is_set(entry_)) {
    ULARGE_INTEGER t;
    t.QuadPart = (static_cast<ULONGLONG>(archive_entry_mtime(entry_)) + 11644473600ULL) * 10000000ULL +
                 static_cast<ULONGLONG>(archive_entry_mtime_nsec(entry_)) / 100;
    FILETIME ft = {t.LowPart, t.HighPart};
    SetFileTime(file.Get(), nullptr, nullptr, &ft);
  }
  if (!file.Close() && r == 0) r = ERAR_ECLOSE;
  if (r != 0) {
    // A partial file is never left behind as if it were the entry.
    DeleteFileW(path.c_str());
    return r;
  }
  const unsigned attr = Attributes(entry_) & ~FILE_ATTRIBUTE_ARCHIVE;
  if (attr) SetFileAttributesW(path.c_str(), attr | FILE_ATTRIBUTE_ARCHIVE);
  written_.emplace_back(entryName_, path);
  return 0;
}

int ArchiveSession::ExtractHardLink(const std::string& linkTarget, const std::wstring& path) {
  // The entry carries no data of its own: it gets a copy of its target's
  // file, which must have been extracted earlier in this walk.
  if (int r = Skip()) return r;
  const auto source =
      std::find_if(written_.rbegin(), written_.rend(), [&](const auto& w) { return w.first == linkTarget; });
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (source == written_.rend() || !CopyFileW(source->second.c_str(), path.c_str(), FALSE)) return ERAR_ECREATE;
  written_.emplace_back(entryName_, path);
  return 0;
}

int ArchiveSession::CopyData(void* file) {
  // libarchive checks the CRC of RAR 4 entries and of compressed RAR 5
  // entries whose CRC is not zero; the others' we check here. (Checking
  // twice cost a tenth of a compressed payload's install.)
  const ScannedEntry* scanned = Scanned();
  const unsigned type = archive_entry_filetype(entry_);
  const bool readerChecks = archive_format(reader_) != ARCHIVE_FORMAT_RAR_V5 ||
                            (scanned && scanned->method != kMethodStored && scanned->crc != 0);
  const bool check = scanned && scanned->hasCrc && !readerChecks && (type == AE_IFREG || type == 0);
  std::uint32_t crc = 0;
  std::int64_t at = 0;  // how much of the entry has been passed on
  // Passes on one piece: to the CRC, the caller's data callback and the file.
  auto pass = [&](const char* data, std::size_t size) -> int {
    if (check) crc = Crc32(data, size, crc);
    if (processDataProc) {
      // The callback gets a copy: libarchive's own buffer may be the window
      // the next bytes are decoded from.
      buffer_.assign(data, data + size);
      if (processDataProc(reinterpret_cast<unsigned char*>(buffer_.data()), static_cast<int>(size)) == -1)
        return ERAR_UNKNOWN;  // the caller cancelled
    }
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE &&
        (!WriteFile(static_cast<HANDLE>(file), data, static_cast<DWORD>(size), &written, nullptr) ||
         written != static_cast<DWORD>(size)))
      return ERAR_EWRITE;
    at += static_cast<std::int64_t>(size);
    return 0;
  };
  // The pieces are libarchive's own buffers, written without a copy of ours.
  for (;;) {
    const void* block = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    const int r = archive_read_data_block(reader_, &block, &size, &offset);
    if (r == ARCHIVE_EOF) return check && crc != scanned->crc ? ERAR_BAD_DATA : 0;
    if (r != ARCHIVE_OK) return DataError();  // a warning too, as it always was
    // A piece further on than the last ended: the bytes between are zeros.
    if (offset < at) return ERAR_BAD_DATA;
    while (at < offset) {
      const std::vector<char> zeros(static_cast<std::size_t>(std::min<std::int64_t>(offset - at, 1 << 16)));
      if (int e = pass(zeros.data(), zeros.size())) return e;
    }
    if (size > 0)
      if (int e = pass(static_cast<const char*>(block), size)) return e;
  }
}
