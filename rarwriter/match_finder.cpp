#include "rarwriter/match_finder.h"

#include <algorithm>
#include <utility>

namespace {
// Positions per block at most: the matches of two blocks are kept at a time.
constexpr std::size_t kMaxBlock = std::size_t{1} << 18;
// A file's positions fall into blocks of an eighth of it at least, so that
// the coder reads most of a small file's matches while the rest are
// indexed.
constexpr std::size_t kMinBlock = std::size_t{1} << 12;
// A smaller file is indexed on the caller's thread: threads would cost more
// to start than they save.
constexpr std::size_t kThreadedSize = std::size_t{1} << 16;
// The trees fall into more shares than there are threads, taken in turn by
// whichever thread is free: a share with much more work than the others
// (spaces in text) then does not hold the block up.
constexpr unsigned kShares = 4;
}  // namespace

MatchFinder::MatchFinder(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength,
                         unsigned threads)
    : tree_(window, sizeHint, std::min(depth, 255u), treeLength),  // a position's matches are counted in a byte
      threads_(sizeHint < kThreadedSize
                   ? 1
                   : std::max(1u, std::min(threads ? threads : std::thread::hardware_concurrency(), 4u))) {
  for (Block& b : blocks_) b.found.resize(kShares);
}

MatchFinder::~MatchFinder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  posted_.notify_all();
  for (std::thread& t : workers_) t.join();
}

void MatchFinder::Work(unsigned thread) {
  std::uint64_t seen = 0;
  for (;;) {
    Block* b;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      posted_.wait(lock, [&] { return stop_ || jobs_ != seen; });
      if (stop_) return;
      seen = jobs_;
      b = job_;
    }
    Index(*b, thread);
    std::lock_guard<std::mutex> lock(mutex_);
    if (--busy_ == 0) done_.notify_one();
  }
}

void MatchFinder::Index(Block& b, unsigned thread) {
  try {
    for (unsigned share; (share = b.next++) < kShares;) {
      std::vector<TreeMatch>& found = b.found[share];
      found.clear();
      for (std::size_t p = b.from; p < b.to; ++p) {
        if (b.share[p - b.from] != share) continue;
        const std::size_t before = found.size();
        tree_.Insert(buf_, p, std::max(b.floor, p > maxDist_ ? p - maxDist_ : 0), &found);
        b.first[p - b.from] = static_cast<std::uint32_t>(before);
        b.count[p - b.from] = static_cast<std::uint8_t>(found.size() - before);
      }
    }
  } catch (...) {
    b.errors[thread] = std::current_exception();
    b.next = kShares;
  }
}

void MatchFinder::Launch(Block& b, std::size_t from) {
  b.from = from;
  // A thread ahead of the others reuses the tree slots of positions a window
  // before it: while a block is indexed, the positions a window before its
  // end are out of every search (a sixteenth of the window at most).
  const std::size_t size = std::max(kMinBlock, (indexEnd_ - from) / 8);
  b.to = std::min(from + std::min({size, kMaxBlock, tree_.Window() / 16}), indexEnd_);
  b.floor = std::max(floor_, b.to > tree_.Window() ? b.to - tree_.Window() : 0);
  b.first.resize(b.to - b.from);
  b.count.resize(b.to - b.from);
  b.share.resize(b.to - b.from);
  for (std::size_t p = b.from; p < b.to; ++p)
    b.share[p - b.from] = static_cast<std::uint8_t>(tree_.Share(buf_, p, kShares));
  b.next = 0;
  b.errors.assign(threads_, nullptr);
  running_ = true;
  if (threads_ == 1) {
    Index(b, 0);
    return;
  }
  if (workers_.empty())
    for (unsigned thread = 0; thread < threads_; ++thread) workers_.emplace_back([this, thread] { Work(thread); });
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = &b;
    busy_ = threads_;
    ++jobs_;
  }
  posted_.notify_all();
}

void MatchFinder::Join() {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return busy_ == 0; });
  }
  running_ = false;
  for (std::exception_ptr& e : blocks_[1 - current_].errors)
    if (e) std::rethrow_exception(std::exchange(e, nullptr));
}

void MatchFinder::Begin(const unsigned char* buf, std::size_t indexed, std::size_t indexEnd, std::size_t floor,
                        std::uint32_t maxDist) {
  buf_ = buf;
  floor_ = floor;
  indexEnd_ = indexEnd;
  maxDist_ = maxDist;
  blocks_[current_].from = blocks_[current_].to = indexed;
  if (indexed < indexEnd) Launch(blocks_[1 - current_], indexed);
}

// The next block becomes the one read; the one after it starts.
void MatchFinder::Advance() {
  Join();
  current_ = 1 - current_;
  if (blocks_[current_].to < indexEnd_) Launch(blocks_[1 - current_], blocks_[current_].to);
}

void MatchFinder::Matches(std::size_t pos, std::size_t end, std::vector<TreeMatch>& out) {
  out.clear();
  while (running_ && pos >= blocks_[current_].to) Advance();
  const Block& b = blocks_[current_];
  if (pos >= b.from && pos < b.to) {
    const std::vector<TreeMatch>& found = b.found[b.share[pos - b.from]];
    const std::uint32_t first = b.first[pos - b.from];
    out.assign(found.begin() + first, found.begin() + first + b.count[pos - b.from]);
    return;
  }
  tree_.Search(buf_, pos, end - pos, std::max(floor_, pos > maxDist_ ? pos - maxDist_ : 0), out);
}

std::size_t MatchFinder::Finish() {
  if (running_) {
    Join();
    current_ = 1 - current_;
  }
  return blocks_[current_].to;
}
