#pragma once
// The progress bar counts in 32-bit signed units; byte counts of a large
// payload are scaled down to fit (no Windows headers).
#include <cstdint>

// How far byte counts are shifted right so that `total` fits the bar.
unsigned ProgressShift(std::uint64_t total);
// `bytes` in bar units for that shift.
std::int32_t ProgressUnits(std::uint64_t bytes, unsigned shift);

// Whether the progress dialog draws the entry now (else on a later entry):
// an entry large enough to take visible time itself (4 MB: 13 ms and more
// to write, more to decode) always is, others at most once per 40 ms, since
// under Wine drawing the dialog costs about 25 server round trips.
bool DrawEntryNow(std::uint64_t entrySize, std::uint32_t msSinceDrawn);
