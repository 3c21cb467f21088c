#pragma once
// The LZ77 coder: finds matches in a binary-tree index of the history and at
// the reader's last four distances, and chooses among them by price (the
// cheapest path through each stretch of up to 4 KB, in the bits the block
// writer will spend).
// Data arrives in pieces (the files of a stream); a piece's matches may reach
// back into the pieces before it, up to the dictionary size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rarwriter/match_finder.h"
#include "rarwriter/rar5_symbols.h"
#include "rarwriter/token_prices.h"

struct LzEffort {
  unsigned depth = 48;       // tree nodes visited per position
  unsigned treeLength = 96;  // the trees order positions by this many bytes
  unsigned nice = 96;        // a match this long is taken at once
  unsigned skip = 64;        // positions inside a repeat this long stay out of the trees
};

class LzMatcher {
 public:
  // `dictBits`: the reader's window is 2^dictBits bytes. `prices` follow
  // what was coded; coders of one archive's files share them.
  LzMatcher(unsigned dictBits, LzEffort effort, std::size_t sizeHint, TokenPrices& prices);

  // Starts a piece (a file, which may arrive in several Encode calls).
  void StartPiece();
  // Appends `size` bytes to the history and adds their tokens to `out`.
  void Encode(const unsigned char* data, std::size_t size, std::vector<LzToken>& out);
  // Takes the piece's bytes out of the history again (the reader never sees
  // them: the piece was stored instead), and its distances out of the list.
  void DropPiece();

  static constexpr unsigned kMaxLength = 4097;

 private:
  // The reader's list of the last distances: only those this stream has set
  // are used (readers differ in what it holds before).
  struct Distances {
    std::uint32_t last[4] = {};
    unsigned known = 0;
    std::uint32_t length = 0;  // the last copy's, once this stream made one
    void Take(const LzToken& t);
  };
  // A position of the stretch being parsed: the cheapest way found to it.
  struct Node {
    std::uint32_t price;
    std::uint32_t from;  // the position the last token starts at
    // As far as lengths of the last token's distance were priced from
    // `from`: going on at that distance from here to no further than this
    // is one token split in two, never cheaper than the one.
    std::uint32_t reach;
    LzToken token;
    Distances distances;  // the list after that token
  };
  void Trim();
  void FindMatches(std::size_t pos, std::size_t end);
  std::uint32_t Extend(std::size_t pos, std::size_t end, std::uint32_t dist, std::uint32_t from) const;
  std::size_t Parse(std::size_t pos, std::size_t end, std::vector<LzToken>& out);
  void Relax(std::size_t to, std::uint32_t price, std::uint32_t from, std::uint32_t reach, const LzToken& token);
  void Emit(std::size_t stop, const LzToken* last, std::vector<LzToken>& out);

  LzEffort effort_;
  std::size_t dict_;
  std::uint32_t maxDist_;
  std::vector<unsigned char> buf_;
  MatchFinder finder_;       // after buf_: its threads end before buf_ goes
  std::size_t indexed_ = 0;  // positions before this are in the trees
  std::size_t floor_ = 0;    // and none before this is searched
  TokenPrices& prices_;
  std::vector<TreeMatch> matches_;
  std::vector<Node> nodes_;
  std::vector<LzToken> path_;
  Distances distances_, pieceDistances_;
  std::size_t pieceStart_ = 0, pieceIndexed_ = 0;
  bool pieceCut_ = false;  // a trim took bytes the piece's indexing used
};
