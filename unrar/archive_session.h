#pragma once
// One open archive of our RAR library: libarchive's reader walking the
// entries, and what the published calls do with the current one.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "extract/unrar_api.h"
#include "unrar/rar_headers.h"

struct archive;
struct archive_entry;

class ArchiveSession {
 public:
  // Opens `arcName` (ANSI); returns an ERAR_ code, 0 when open.
  int Open(const std::string& arcName);
  ~ArchiveSession();

  int ReadHeader(RARHeaderData* header);
  int ProcessFile(int operation, const char* destPath, const char* destName);

  ChangeVolProc changeVolProc = nullptr;
  ProcessDataProc processDataProc = nullptr;
  std::string password;

 private:
  int Advance();
  int Skip();
  int WantData();
  int Reread();
  int Extract(int operation, const std::string& target);
  int CopyData(void* file);
  int ExtractHardLink(const std::string& linkTarget, const std::wstring& path);
  int DataError() const;
  // The scanned header of the current entry, when the scan agrees with it.
  const ScannedEntry* Scanned() const;
  void MatchScan();

  struct archive* reader_ = nullptr;
  struct archive_entry* entry_ = nullptr;  // the current entry, owned by the reader
  bool pending_ = false;                   // its header was read, its data not yet used
  int endCode_ = 0;                        // once the walk has ended: the code it ended with
  std::string arcName_;
  std::string entryName_;           // ANSI, "\" between names, whole
  std::vector<ScannedEntry> scan_;  // the file entries, continuation parts left out
  std::size_t scanIndex_ = 0;       // of the current entry in scan_ and in the walk
  bool scanValid_ = true;           // false once the scan and libarchive disagree
  std::string madeFolder_;          // the folder of the last file written, known to be there
  std::vector<char> buffer_;        // a copy of each piece for the data callback
  bool scanCutShort_ = false;       // the headers end before the archive does
  // Each file extracted, by entry name, for a hard link to a later entry:
  // found from the newest back, so that a name extracted twice gives its last.
  std::vector<std::pair<std::string, std::wstring>> written_;
  bool skipUnread_ = true;  // skips pass a solid stream's data unpacked, until some entry's data is wanted
};
