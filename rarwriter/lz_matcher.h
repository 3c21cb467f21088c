#pragma once
// Finds the matches of an LZ77 coder with hash chains and lazy evaluation,
// and the matches at the last four distances, which the reader keeps.
// Data arrives in pieces (the files of a stream); a piece's matches may reach
// back into the pieces before it, up to the dictionary size.
#include <cstddef>
#include <cstdint>
#include <vector>

// A literal byte (dist 0) or a copy of `length` bytes from `dist` back; a
// copy may name its distance by its place in the reader's list of the last
// four distances (`rep` 1 to 4), which costs no distance bits.
struct LzToken {
  std::uint32_t dist;
  std::uint32_t length;  // the byte itself for a literal
  std::uint32_t rep = 0;
};
// A token with this distance is no copy: it starts the x86 filter (E8E9)
// over the next `length` bytes.
constexpr std::uint32_t kFilterToken = 0xFFFFFFFF;

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
  // them: the piece was stored instead), and its distances out of the list.
  void DropPiece();

  static constexpr unsigned kMaxLength = 4097;

 private:
  struct Match {
    std::uint32_t length = 0, dist = 0;
    std::uint32_t rep = 0;  // 1 to 4: the distance's place in the list
  };
  // The reader's list of the last distances: only those this stream has set
  // are used (readers differ in what it holds before).
  struct Distances {
    std::uint32_t last[4] = {};
    unsigned known = 0;
  };
  void Trim();
  std::uint32_t Hash(std::size_t pos) const;
  void Insert(std::size_t pos);
  Match Find(std::size_t pos, std::size_t end, std::uint32_t better) const;
  Match FindRepeat(std::size_t pos, std::size_t end) const;
  void Emit(const Match& m, std::vector<LzToken>& out);

  LzEffort effort_;
  std::size_t dict_;
  std::size_t maxDist_;
  unsigned hashShift_;
  std::vector<unsigned char> buf_;
  // Positions plus one (0: none) into buf_; prev_ is indexed by position
  // modulo the dictionary, so a trim moves buf_ by whole dictionaries.
  std::vector<std::uint32_t> head_, prev_;
  Distances distances_, pieceDistances_;
  std::size_t pieceStart_ = 0;
  bool pieceCut_ = false;  // a trim took bytes from before the piece
};
