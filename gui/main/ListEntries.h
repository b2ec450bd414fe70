// What the file list shows: entries made from dropped paths, and which
// entries are patterns rather than file names.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

// A dropped file stays as it is; a dropped folder becomes the pattern of
// every file below it, "FOLDER\**\*".
std::vector<std::string> EntriesForDroppedPaths(const std::vector<std::string>& paths);

// An entry holding "*" or "?" that names no existing file is a pattern: it
// stands for many files, so it is never the newest one.
bool IsPatternEntry(const std::string& entry);

}  // namespace quorvel
