#pragma once
// Finds the matches of every position ahead of the coder, a block at a time,
// on several threads: each thread keeps the trees of its share of the
// hashes (a search never leaves its tree), so the matches found are the
// same whatever the number of threads. The coder reads a block's matches
// while the next block is being indexed.
#include <atomic>
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
  // `sizeHint` of fewer than 64K positions.
  MatchFinder(std::size_t window, std::size_t sizeHint, unsigned depth, unsigned treeLength, unsigned threads = 0);
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

 private:
  struct Block {
    std::size_t from = 0, to = 0;
    std::vector<std::uint32_t> first;  // per position: where its matches start in its share's list
    std::vector<std::uint8_t> count;
    std::vector<std::uint8_t> share;            // per position: the share of trees it is in
    std::vector<std::vector<TreeMatch>> found;  // per share
    std::atomic<unsigned> next{0};              // the next share a thread takes
    std::size_t floor = 0;
    std::vector<std::exception_ptr> errors;  // per thread
  };
  void Launch(Block& b, std::size_t from);
  void Index(Block& b, unsigned thread);
  void Work(unsigned thread);
  void Join();
  void Advance();

  MatchTree tree_;
  unsigned threads_;
  const unsigned char* buf_ = nullptr;
  std::size_t indexEnd_ = 0, floor_ = 0;
  std::uint32_t maxDist_ = 0;
  Block blocks_[2];
  unsigned current_ = 0;  // the block read; the other one is being indexed while running_
  bool running_ = false;

  // The threads live as long as the finder; each takes shares of the block
  // posted last.
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable posted_, done_;
  Block* job_ = nullptr;
  std::uint64_t jobs_ = 0;  // blocks posted so far
  unsigned busy_ = 0;       // threads not done with the block posted last
  bool stop_ = false;
};
