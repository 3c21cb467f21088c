#include "rarwriter/match_finder.h"

#include <algorithm>
#include <utility>

namespace {
// Positions per block at most: the matches of two blocks are kept at a time.
constexpr std::size_t kMaxBlock = std::size_t{1} << 18;
// The trees fall into more shares than there are threads, taken in turn by
// whichever thread is free: a share with much more work than the others
// (spaces in text) then does not hold the block up.
constexpr unsigned kShares = 4;
// A smaller block (a small file's) is indexed on the caller's thread: a
// thread would cost more to start than it saves.
constexpr std::size_t kThreadedBlock = std::size_t{1} << 16;
}  // namespace

MatchFinder::MatchFinder(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength,
                         unsigned threads)
    : tree_(window, sizeHint, std::min(depth, 255u), treeLength),  // a position's matches are counted in a byte
      threads_(std::max(1u, std::min(threads ? threads : std::thread::hardware_concurrency(), 4u))) {
  for (Block& b : blocks_) b.found.resize(kShares);
}

MatchFinder::~MatchFinder() {
  for (Block& b : blocks_)
    for (std::thread& t : b.threads) t.join();
}

void MatchFinder::Launch(Block& b, std::size_t from) {
  b.from = from;
  // A thread ahead of the others reuses the tree slots of positions a window
  // before it: while a block is indexed, the positions a window before its
  // end are out of every search (a sixteenth of the window at most).
  b.to = std::min(from + std::min(kMaxBlock, tree_.Window() / 16), indexEnd_);
  const std::size_t floor = std::max(floor_, b.to > tree_.Window() ? b.to - tree_.Window() : 0);
  b.first.resize(b.to - b.from);
  b.count.resize(b.to - b.from);
  b.share.resize(b.to - b.from);
  for (std::size_t p = b.from; p < b.to; ++p)
    b.share[p - b.from] = static_cast<std::uint8_t>(tree_.Share(buf_, p, kShares));
  b.next = 0;
  b.errors.assign(threads_, nullptr);
  for (unsigned thread = 0; thread < threads_; ++thread) {
    auto work = [this, &b, thread, floor] {
      try {
        for (unsigned share; (share = b.next++) < kShares;) {
          std::vector<TreeMatch>& found = b.found[share];
          found.clear();
          for (std::size_t p = b.from; p < b.to; ++p) {
            if (b.share[p - b.from] != share) continue;
            const std::size_t before = found.size();
            tree_.Insert(buf_, p, std::max(floor, p > maxDist_ ? p - maxDist_ : 0), &found);
            b.first[p - b.from] = static_cast<std::uint32_t>(before);
            b.count[p - b.from] = static_cast<std::uint8_t>(found.size() - before);
          }
        }
      } catch (...) {
        b.errors[thread] = std::current_exception();
        b.next = kShares;
      }
    };
    if (threads_ == 1 || b.to - b.from < kThreadedBlock)
      work();
    else
      b.threads.emplace_back(work);
  }
  running_ = true;
}

void MatchFinder::Join(Block& b) {
  for (std::thread& t : b.threads) t.join();
  b.threads.clear();
  running_ = false;
  for (std::exception_ptr& e : b.errors)
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
  Join(blocks_[1 - current_]);
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
    Join(blocks_[1 - current_]);
    current_ = 1 - current_;
  }
  return blocks_[current_].to;
}
