#include "ListEntries.h"

#include "Platform.h"

namespace quorvel {

std::vector<std::string> EntriesForDroppedPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> entries;
    entries.reserve(paths.size());
    for (const std::string& path : paths) {
        if (platform::DirectoryExists(path)) entries.push_back(platform::IncludeTrailingDelimiter(path) + "**\\*");
        else entries.push_back(path);
    }
    return entries;
}

}  // namespace quorvel
