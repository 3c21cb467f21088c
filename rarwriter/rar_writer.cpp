#include "rarwriter/rar_writer.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "rarwriter/crc32.h"
#include "rarwriter/rar_format.h"

namespace {

const std::uint32_t kAttrFolder = 0x10;  // Win32 FILE_ATTRIBUTE_DIRECTORY

void PutVint(std::string& out, std::uint64_t v) {
  do {
    unsigned char b = v & 0x7F;
    v >>= 7;
    if (v) b |= 0x80;
    out += static_cast<char>(b);
  } while (v);
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A block: CRC of everything after it, the size of what follows the size
// field, then the fields (type first).
void PutHeader(std::string& out, const std::string& fields) {
  std::string sized;
  PutVint(sized, fields.size());
  sized += fields;
  PutU32(out, Crc32(sized.data(), sized.size()));
  out += sized;
}

std::string ArchivePath(const RarEntry& e) {
  std::string path = e.utf8Name ? e.name : Cp1252ToUtf8(e.name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// What packing a file left: its data area when compressed, and the file
// header's compression field (a folder's is empty).
struct PackedFile {
  std::string data;
  std::uint64_t info = 0;
  bool compressed = false;
};

void PutEntry(std::string& out, const RarEntry& e, const PackedFile& p, RarSizes& sizes) {
  // Readers want a data area in every file block, a folder's being empty.
  const std::uint64_t dataSize = e.folder ? 0 : p.compressed ? p.data.size() : e.data.size();
  const std::uint64_t unpackedSize = e.folder ? 0 : e.data.size();
  sizes.unpacked += unpackedSize;
  sizes.packed += dataSize;
  std::string f;
  PutVint(f, kRar5FileHeader);
  PutVint(f, kRar5HasData);
  PutVint(f, dataSize);
  const std::uint64_t flags =
      (e.folder ? kRar5FileFolder : kRar5FileHasCrc) | (e.dosTime ? kRar5FileHasTime : std::uint64_t{0});
  PutVint(f, flags);
  PutVint(f, unpackedSize);
  PutVint(f, e.attributes | (e.folder ? kAttrFolder : 0u));
  if (e.dosTime) PutU32(f, static_cast<std::uint32_t>(DosTimeToUnix(e.dosTime)));
  if (!e.folder) PutU32(f, Crc32(e.data.data(), e.data.size()));
  PutVint(f, p.info);
  PutVint(f, kRar5HostWindows);
  const std::string path = ArchivePath(e);
  PutVint(f, path.size());
  f += path;
  PutHeader(out, f);
  if (!e.folder) out += p.compressed ? p.data : e.data;
}

// Files packed alone that repeat an earlier file byte for byte (a tree with
// its links followed holds such twins): each follows the file it repeats, or
// the twin before it, in the archive and is coded as one copy of it. The
// archive is then marked solid, as readers keep the window only in solid
// archives; the other files still start alone.
struct Repeats {
  std::vector<std::size_t> order;  // the entries in the order written
  std::vector<bool> twin;          // per entry: coded as a copy of the file before it
  bool any = false;
};

Repeats FindRepeats(const std::vector<RarEntry>& entries, const RarOptions& options) {
  Repeats r;
  r.twin.assign(entries.size(), false);
  std::vector<std::vector<std::size_t>> twins(entries.size());
  if (options.packing == RarPacking::kCompress) {
    std::unordered_map<std::string_view, std::size_t> first;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const RarEntry& e = entries[i];
      if (e.folder || !EntryPacker::CanRepeat(e.data.size(), options.dictBits)) continue;
      const auto found = first.emplace(e.data, i);
      if (found.second) continue;
      twins[found.first->second].push_back(i);
      r.twin[i] = r.any = true;
    }
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (r.twin[i]) continue;
    r.order.push_back(i);
    r.order.insert(r.order.end(), twins[i].begin(), twins[i].end());
  }
  return r;
}

// Files compressed each alone share nothing but the prices their coders
// start from: they are packed on two lanes at once, each with its own
// prices, file by file in turn, so that the archive is the same on any
// machine. The entries are written in order as their files are done.
class FileLanes {
 public:
  static constexpr unsigned kLanes = 2;
  FileLanes(const std::vector<RarEntry>& entries, const std::vector<bool>& twin, const RarOptions& options)
      : entries_(entries), twin_(twin), files_(entries.size()) {
    try {
      for (unsigned lane = 0; lane < kLanes; ++lane)
        lanes_.emplace_back(
            [this, lane, packing = options.packing, dictBits = options.dictBits] { Run(lane, packing, dictBits); });
    } catch (...) {
      Stop();
      throw;
    }
  }
  ~FileLanes() { Stop(); }
  FileLanes(const FileLanes&) = delete;
  FileLanes& operator=(const FileLanes&) = delete;

  // Waits for entry `i`'s file to be packed.
  PackedFile Take(std::size_t i) {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return files_[i].ready; });
    if (files_[i].error) std::rethrow_exception(files_[i].error);
    return std::move(files_[i].packed);
  }

 private:
  struct Slot {
    PackedFile packed;
    bool ready = false;
    std::exception_ptr error;
  };

  void Run(unsigned lane, RarPacking packing, unsigned dictBits) {
    EntryPacker packer(packing, dictBits);
    for (std::size_t i = 0, file = 0; i < entries_.size(); ++i) {
      if (entries_[i].folder || twin_[i] || file++ % kLanes != lane) continue;
      Slot s;
      try {
        s.packed.compressed = packer.Pack(entries_[i].data, s.packed.data, s.packed.info);
      } catch (...) {
        s.error = std::current_exception();
      }
      std::lock_guard<std::mutex> lock(mutex_);
      s.ready = true;
      files_[i] = std::move(s);
      done_.notify_all();
      if (stop_ || files_[i].error) return;
    }
  }

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    for (std::thread& t : lanes_) t.join();
  }

  const std::vector<RarEntry>& entries_;
  const std::vector<bool>& twin_;
  std::vector<Slot> files_;
  std::mutex mutex_;
  std::condition_variable done_;
  bool stop_ = false;
  std::vector<std::thread> lanes_;  // last: the lanes start when the rest is there
};

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

std::string WriteRarArchive(const std::vector<RarEntry>& entries, const RarOptions& options, RarSizes* sizes) {
  std::string out(kRar5Signature, 8);
  std::string main;
  PutVint(main, kRar5MainHeader);
  PutVint(main, 0);  // header flags
  const Repeats repeats = FindRepeats(entries, options);
  const bool solid = options.packing == RarPacking::kSolid || repeats.any;
  PutVint(main, solid ? kRar5SolidArchive : 0);  // archive flags: one volume
  PutHeader(out, main);
  RarSizes sums;
  RarProgress progress;
  for (const RarEntry& e : entries) {
    progress.files += !e.folder;
    progress.bytes += e.data.size();
  }
  std::unique_ptr<FileLanes> lanes;
  std::unique_ptr<EntryPacker> packer;
  if (options.packing == RarPacking::kCompress)
    lanes = std::make_unique<FileLanes>(entries, repeats.twin, options);
  else
    packer = std::make_unique<EntryPacker>(options.packing, options.dictBits, progress.bytes);
  bool lastCompressed = false;
  for (std::size_t i : repeats.order) {
    const RarEntry& e = entries[i];
    PackedFile p;
    if (repeats.twin[i]) {
      // A twin of a stored file is stored too: it would not shrink either.
      if (lastCompressed) EntryPacker::PackRepeat(e.data, options.dictBits, p.data, p.info);
      p.compressed = lastCompressed;
    } else if (!e.folder) {
      if (lanes)
        p = lanes->Take(i);
      else
        p.compressed = packer->Pack(e.data, p.data, p.info);
    }
    PutEntry(out, e, p, sums);
    if (e.folder) continue;
    lastCompressed = p.compressed;
    ++progress.filesDone;
    progress.bytesDone += e.data.size();
    if (options.progress) options.progress(progress);
  }
  if (sizes) *sizes = sums;
  std::string end;
  PutVint(end, kRar5EndHeader);
  PutVint(end, 0);
  PutVint(end, 0);  // last volume
  PutHeader(out, end);
  return out;
}

std::string Cp1252ToUtf8(const std::string& ansi) {
  static const std::uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                          0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  for (unsigned char c : ansi) {
    unsigned cp = (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : c;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::int64_t DosTimeToUnix(std::uint32_t t) {
  const std::int64_t days = DaysFromCivil(1980 + (t >> 25), (t >> 21) & 0x0F, (t >> 16) & 0x1F);
  return days * 86400 + ((t >> 11) & 0x1F) * 3600 + ((t >> 5) & 0x3F) * 60 + (t & 0x1F) * 2;
}

std::uint32_t UnixToDosTime(std::int64_t seconds) {
  std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const std::int64_t rest = seconds - days * 86400;
  // Civil date from days (the inverse of DaysFromCivil).
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
  if (year < 1980 || year > 2107) return 0;
  return (static_cast<std::uint32_t>(year - 1980) << 25) | (month << 21) | (day << 16) |
         (static_cast<std::uint32_t>(rest / 3600) << 11) | (static_cast<std::uint32_t>(rest / 60 % 60) << 5) |
         static_cast<std::uint32_t>(rest % 60 / 2);
}
