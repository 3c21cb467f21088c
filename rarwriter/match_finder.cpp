#include "rarwriter/match_finder.h"

#include <algorithm>
#include <utility>

namespace {
// Positions per block at most: the matches of four blocks are kept at a time.
constexpr std::size_t kMaxBlock = std::size_t{1} << 18;
// A file's positions fall into blocks of an eighth of it at least, so that
// the coder reads most of a small file's matches while the rest are
// indexed.
constexpr std::size_t kMinBlock = std::size_t{1} << 12;
// A smaller file is indexed on the caller's thread: threads would cost more
// to start than they save.
constexpr std::size_t kThreadedSize = std::size_t{1} << 16;
// How often a thread that has to wait gives way before it sleeps (below).
constexpr unsigned kYieldsBeforeSleep = 64;
}  // namespace

MatchFinder::MatchFinder(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength,
                         unsigned skipLength, unsigned threads)
    : tree_(window, sizeHint, std::min(depth, 255u), treeLength),  // a position's matches are counted in a byte
      threads_(sizeHint < kThreadedSize
                   ? 1
                   : std::max(1u, std::min(threads ? threads : std::thread::hardware_concurrency(), 4u))),
      skipLength_(skipLength),
      span_(std::min(kMaxBlock, window / 16)) {
  for (Block& b : ring_) b.found.resize(kShares);
}

MatchFinder::~MatchFinder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  work_.notify_all();
  for (std::thread& t : workers_) t.join();
}

// Most waits here end within microseconds: the block or the share waited
// for is being finished on the other core. Sleeping then costs a call into
// the system on both sides (the wait, and the wake-up that the notifier
// makes), so a waiting thread first gives way to the others a few times,
// letting the lock go, and sleeps only when that was not enough (the real
// tree's solid stream packs in a tenth less time and CPU).
template <class Ready>
void MatchFinder::Await(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Ready ready) {
  for (unsigned i = 0; i < kYieldsBeforeSleep && !ready(); ++i) {
    lock.unlock();
    std::this_thread::yield();
    lock.lock();
  }
  cv.wait(lock, ready);
}

void MatchFinder::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    Await(lock, work_, [&] { return stop_ || taken_ < posted_; });
    if (stop_) return;
    const std::uint64_t unit = taken_++;
    Await(lock, work_, [&] { return CanStart(unit); });
    Run(lock, unit);
  }
}

void MatchFinder::Run(std::unique_lock<std::mutex>& lock, std::uint64_t unit) {
  const unsigned share = static_cast<unsigned>(unit % kShares);
  const std::uint64_t job = unit / kShares;
  Block& b = *jobs_[job % kRing];
  lock.unlock();
  Index(b, share);
  lock.lock();
  shareNext_[share] = job + 1;
  if (--b.pending == 0) done_.notify_all();
  work_.notify_all();
}

void MatchFinder::Index(Block& b, unsigned share) {
  try {
    std::vector<TreeMatch>& found = b.found[share];
    found.clear();
    Repeat& repeat = repeats_[share];
    const std::uint32_t treeLength = tree_.TreeLength();
    const std::size_t bufEnd = indexEnd_ + treeLength - 1;
    for (std::size_t p = b.from; p < b.to; ++p) {
      if (b.share[p - b.from] != share) continue;
      const std::size_t before = found.size();
      if (p + skipLength_ <= repeat.end && p - repeat.dist >= b.floor) {
        found.push_back({static_cast<std::uint32_t>(std::min<std::size_t>(treeLength, repeat.end - p)), repeat.dist});
      } else {
        tree_.Insert(buf_, p, std::max(b.floor, p > maxDist_ ? p - maxDist_ : 0), &found);
        if (found.size() > before && found.back().length >= skipLength_) {
          // How far the repeat goes (a match of the trees' whole length
          // may go on beyond it).
          repeat.dist = found.back().dist;
          repeat.end = p + MatchEnd(buf_ + p, repeat.dist, found.back().length, bufEnd - p);
        }
      }
      b.first[p - b.from] = static_cast<std::uint32_t>(before);
      b.count[p - b.from] = static_cast<std::uint8_t>(found.size() - before);
    }
  } catch (...) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!b.error) b.error = std::current_exception();
  }
}

// Starts the next block in the ring.
void MatchFinder::Launch() {
  Block& b = ring_[launched_++ % kRing];
  b.from = next_;
  const std::size_t size = std::max(kMinBlock, (indexEnd_ - next_) / 8);
  b.to = next_ = std::min(next_ + std::min(size, span_), indexEnd_);
  // A thread ahead of the others reuses the tree slots of positions a window
  // before it: while a block is indexed, the positions a window before the
  // end of the last block that may be indexed with it are out of every
  // search (a sixteenth of the window a block).
  const std::size_t ahead = b.to + (kRing - 1) * span_;
  b.floor = std::max(floor_, ahead > tree_.Window() ? ahead - tree_.Window() : 0);
  b.first.resize(b.to - b.from);
  b.count.resize(b.to - b.from);
  b.share.resize(b.to - b.from);
  for (std::size_t p = b.from; p < b.to; ++p)
    b.share[p - b.from] = static_cast<std::uint8_t>(tree_.Share(buf_, p, kShares));
  b.error = nullptr;
  if (threads_ == 1) {
    for (unsigned share = 0; share < kShares; ++share) Index(b, share);
    return;
  }
  if (workers_.empty())
    for (unsigned thread = 0; thread < threads_; ++thread) workers_.emplace_back([this] { Work(); });
  {
    std::lock_guard<std::mutex> lock(mutex_);
    b.pending = kShares;
    jobs_[posted_ / kShares % kRing] = &b;
    posted_ += kShares;
  }
  work_.notify_all();
}

void MatchFinder::Wait(Block& b) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    // The coder indexes the block's shares that no thread has taken yet
    // rather than wait for a sleeping thread to wake and take them; never a
    // later block's, which would hold it up.
    while (b.pending != 0 && taken_ < posted_ && jobs_[taken_ / kShares % kRing] == &b && CanStart(taken_))
      Run(lock, taken_++);
    Await(lock, done_, [&] { return b.pending == 0; });
  }
  if (b.error) std::rethrow_exception(std::exchange(b.error, nullptr));
}

void MatchFinder::Begin(const unsigned char* buf, std::size_t indexed, std::size_t indexEnd, std::size_t floor,
                        std::uint32_t maxDist) {
  buf_ = buf;
  floor_ = floor;
  indexEnd_ = indexEnd;
  maxDist_ = maxDist;
  for (Repeat& r : repeats_) r = Repeat{};
  read_ = launched_++;  // an empty block to read first
  Current().from = Current().to = next_ = indexed;
  while (next_ < indexEnd_ && launched_ - read_ < kRing) Launch();
}

// The next block becomes the one read; another one starts.
void MatchFinder::Advance() {
  ++read_;
  Wait(Current());
  while (next_ < indexEnd_ && launched_ - read_ < kRing) Launch();
}

void MatchFinder::Matches(std::size_t pos, std::size_t end, std::vector<TreeMatch>& out) {
  out.clear();
  while (pos >= Current().to && read_ + 1 < launched_) Advance();
  const Block& b = Current();
  if (pos >= b.from && pos < b.to) {
    const std::vector<TreeMatch>& found = b.found[b.share[pos - b.from]];
    const std::uint32_t first = b.first[pos - b.from];
    out.assign(found.begin() + first, found.begin() + first + b.count[pos - b.from]);
    return;
  }
  tree_.Search(buf_, pos, end - pos, std::max(floor_, pos > maxDist_ ? pos - maxDist_ : 0), out);
}

std::size_t MatchFinder::Finish() {
  while (read_ + 1 < launched_) Advance();
  return next_;
}
