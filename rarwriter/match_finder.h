#pragma once
// Finds the matches of every position ahead of the coder, a block at a time,
// on several threads: each block's trees fall into shares by hash, and a
// share is indexed block after block in order (a search never leaves its
// tree), so the matches found are the same whatever the number of threads.
// The coder reads one block's matches while the next few are indexed.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "rarwriter/match_tree.h"

class MatchFinder {
 public:
  // `threads`: 0 for as many as the machine runs at once; one for a
  // `sizeHint` of fewer than 64K positions. A repeat at least `skipLength`
  // long leaves the positions inside it out of the trees while that much of
  // it is left (they get the repeat's match).
  MatchFinder(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength, unsigned skipLength,
              unsigned threads = 0);
  ~MatchFinder();
  MatchFinder(const MatchFinder&) = delete;
  MatchFinder& operator=(const MatchFinder&) = delete;

  // Starts a run over the history `buf`: positions from `indexed` up to
  // `indexEnd` (each with the tree's length of bytes after it) go into the
  // trees; no search visits positions before `floor`. `buf` must stay where
  // it is until Finish.
  void Begin(const unsigned char* buf, std::size_t indexed, std::size_t indexEnd, std::size_t floor,
             std::uint32_t maxDist);
  // The matches of `pos` (each longer than the one before; positions come
  // in increasing order): found while indexing, or, past the run's indexed
  // positions, searched without indexing.
  void Matches(std::size_t pos, std::size_t end, std::vector<TreeMatch>& out);
  // Waits for the threads; answers the first position not indexed.
  std::size_t Finish();

  MatchTree& Tree() { return tree_; }

  // Blocks kept at a time: the one read and those indexed ahead of it.
  static constexpr unsigned kRing = 4;
  // The trees fall into more shares than there are threads, taken in turn
  // by whichever thread is free: a share with much more work than the others
  // (spaces in text) then does not hold the block up.
  static constexpr unsigned kShares = 4;

 private:
  struct Block {
    std::size_t from = 0, to = 0, floor = 0;
    std::vector<std::uint32_t> first;  // per position: where its matches start in its share's list
    std::vector<std::uint8_t> count;
    std::vector<std::uint8_t> share;            // per position: the share of trees it is in
    std::vector<std::vector<TreeMatch>> found;  // per share
    unsigned pending = 0;                       // shares not indexed yet
    std::exception_ptr error;
  };
  // A share's last long match, followed as far as it goes: the share's
  // positions inside it get that match and stay out of the trees (the bytes
  // they would index are there a distance back).
  struct Repeat {
    std::size_t end = 0;
    std::uint32_t dist = 0;
  };
  Block& Current() { return ring_[read_ % kRing]; }
  void Launch();
  void Index(Block& b, unsigned share);
  void Work();
  // Whether `unit` may be indexed now (its share's block before is done),
  // and the indexing of it, the lock let go meanwhile.
  bool CanStart(std::uint64_t unit) const { return shareNext_[unit % kShares] == unit / kShares; }
  void Run(std::unique_lock<std::mutex>& lock, std::uint64_t unit);
  void Wait(Block& b);
  // Waits under `lock` until `ready()`, woken through `cv`.
  template <class Ready>
  void Await(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Ready ready);
  void Advance();

  MatchTree tree_;
  unsigned threads_;
  std::size_t skipLength_;
  std::size_t span_;  // positions per block at most
  const unsigned char* buf_ = nullptr;
  std::size_t indexEnd_ = 0, floor_ = 0;
  std::uint32_t maxDist_ = 0;
  Block ring_[kRing];
  Repeat repeats_[kShares];
  std::uint64_t read_ = 0, launched_ = 1;  // the block read; the blocks started (the read one is the first)
  std::size_t next_ = 0;                   // the first position of no block started

  // The threads live as long as the finder. Each block's shares are units of
  // work, taken in order; a share waits for the same share of the block
  // before it.
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable work_, done_;
  Block* jobs_[kRing] = {};
  std::uint64_t posted_ = 0, taken_ = 0;   // units
  std::uint64_t shareNext_[kShares] = {};  // per share: the next job it may index
  bool stop_ = false;
};
