#pragma once
// What a run may change on the machine, written down before and after it:
// every key and value under HKEY_CURRENT_USER\Software and
// HKEY_LOCAL_MACHINE\Software, and every file (with its bytes' size and
// checksum) and folder of drive C: outside the temporary folder and the
// links to folders outside the prefix.
#include <set>
#include <string>
#include <vector>

namespace snapshot {

using Lines = std::set<std::string>;

Lines TakeRegistry();
Lines TakeFiles();

// The lines of `after` not in `before` ("+ ...") and of `before` not in
// `after` ("- ..."), leaving out those that contain any of `ignored`.
std::vector<std::string> Differences(const Lines& before, const Lines& after, const std::vector<std::string>& ignored);

}  // namespace snapshot
