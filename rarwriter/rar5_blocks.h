#pragma once
// The compressed data of one RAR 5 file entry (format version 5.0): blocks,
// each with its own Huffman tables, holding the literals and matches of an
// LZ coder and the x86 filter's records.
#include <cstdint>
#include <string>
#include <vector>

#include "rarwriter/lz_matcher.h"

// Appends the tokens to `out` as blocks of a file entry's data area, each a
// run of tokens with tables fitted to it; the last block is marked when
// `last`. No block unpacks to more than half the window: libarchive's reader
// stops a block after half a window of output, and when that happens at a
// block's very end it reads past the file's last block.
// `held`, when given: the code lengths of the four tables the reader holds
// from the block before (empty: none), which the first block is coded with,
// sending no tables, when that costs fewer bits; on return, those of the
// last block.
void EncodeRar5Blocks(const std::vector<LzToken>& tokens, std::size_t window, bool last, std::string& out,
                      std::vector<std::uint8_t>* held = nullptr);
