// Entries made from paths dropped on the file list.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

// A dropped file stays as it is; a dropped folder becomes the pattern of
// every file below it, "FOLDER\**\*".
std::vector<std::string> EntriesForDroppedPaths(const std::vector<std::string>& paths);

}  // namespace quorvel
