#pragma once
// Finds the matches of an LZ77 coder with hash chains and lazy evaluation.
// Data arrives in pieces (the files of a stream); a piece's matches may reach
// back into the pieces before it, up to the dictionary size.
#include <cstddef>
#include <cstdint>
#include <vector>

// A literal byte (dist 0) or a copy of `length` bytes from `dist` back.
struct LzToken {
  std::uint32_t dist;
  std::uint32_t length;  // the byte itself for a literal
};

struct LzEffort {
  unsigned chain = 48;  // candidates tried per position
  unsigned nice = 96;   // a match this long ends the search
  unsigned lazy = 32;   // a match this long is taken without looking one byte on
};

class LzMatcher {
 public:
  // `dictBits`: the reader's window is 2^dictBits bytes.
  LzMatcher(unsigned dictBits, LzEffort effort, std::size_t sizeHint);

  // Starts a piece (a file, which may arrive in several Encode calls).
  void StartPiece();
  // Appends `size` bytes to the history and adds their tokens to `out`.
  void Encode(const unsigned char* data, std::size_t size, std::vector<LzToken>& out);
  // Takes the piece's bytes out of the history again (the reader never sees
  // them: the piece was stored instead).
  void DropPiece();

  static constexpr unsigned kMaxLength = 4097;

 private:
  struct Match {
    std::uint32_t length = 0, dist = 0;
  };
  void Trim();
  std::uint32_t Hash(std::size_t pos) const;
  void Insert(std::size_t pos);
  Match Find(std::size_t pos, std::size_t end, std::uint32_t better) const;

  LzEffort effort_;
  std::size_t dict_;
  std::size_t maxDist_;
  unsigned hashShift_;
  std::vector<unsigned char> buf_;
  // Positions plus one (0: none) into buf_; prev_ is indexed by position
  // modulo the dictionary, so a trim moves buf_ by whole dictionaries.
  std::vector<std::uint32_t> head_, prev_;
  std::size_t pieceStart_ = 0;
  bool pieceCut_ = false;  // a trim took bytes from before the piece
};
