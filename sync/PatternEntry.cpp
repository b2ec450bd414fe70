#include "PatternEntry.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "Exceptions.h"
#include "NameMatch.h"
#include "PathSegments.h"
#include "Platform.h"

namespace {

const std::string kAnyFolders = "**";

// Consecutive "**" mean no more than one; a trailing "**" reaches every
// file below it.
std::vector<PathSegment> WalkSegments(std::vector<PathSegment> segments) {
  std::vector<PathSegment> walk;
  for (PathSegment& segment : segments) {
    if (segment.name == kAnyFolders && !walk.empty() && walk.back().name == kAnyFolders) {
      walk.back().delimiter = segment.delimiter;
      continue;
    }
    walk.push_back(std::move(segment));
  }
  if (!walk.empty() && walk.back().name == kAnyFolders && walk.back().delimiter == '\0') {
    const char delimiter = walk.size() > 1 ? walk[walk.size() - 2].delimiter : platform::kPathDelimiter;
    walk.back().delimiter = delimiter;
    walk.push_back({"*", '\0'});
  }
  return walk;
}

class PatternWalk {
 public:
  PatternWalk(std::vector<PathSegment> segments, std::string pathPrefix, std::string namePrefix)
      : segments_(std::move(segments)), pathPrefix_(std::move(pathPrefix)), namePrefix_(std::move(namePrefix)) {}

  // Visits the segment `index` in the folder `relative` (a name relative to
  // the prefixes, ending in a delimiter, or ""); `listing` is that folder's
  // entries when the caller has already read them.
  void Walk(const std::string& relative, std::size_t index,
            const std::vector<platform::DirectoryEntry>* listing = nullptr) {
    const PathSegment& segment = segments_[index];
    const bool last = index + 1 == segments_.size();
    if (segment.name == kAnyFolders) {
      // Routes through several "**" may reach one folder twice.
      if (!walkedAnyFolders_.emplace(relative, index).second) return;
      const std::vector<platform::DirectoryEntry> entries = List(relative);
      Walk(relative, index + 1, &entries);
      for (const platform::DirectoryEntry& entry : entries) {
        if (entry.isFolder && !entry.isLink && SegmentMatchesName(segment.name, entry.name))
          Walk(relative + entry.name + segment.delimiter, index);
      }
    } else if (!HasWildcard(segment.name)) {
      const std::string next = relative + segment.name;
      if (!last) {
        Walk(next + segment.delimiter, index + 1);
      } else if (platform::IsRegularFile(pathPrefix_ + next)) {
        Add(next);
      }
    } else {
      std::vector<platform::DirectoryEntry> read;
      if (!listing) {
        read = List(relative);
        listing = &read;
      }
      for (const platform::DirectoryEntry& entry : *listing) {
        if (!SegmentMatchesName(segment.name, entry.name)) continue;
        if (last && entry.isRegularFile) Add(relative + entry.name);
        if (!last && entry.isFolder) Walk(relative + entry.name + segment.delimiter, index + 1);
      }
    }
  }

  std::vector<FoundFile> TakeFound() { return std::move(found_); }

 private:
  std::vector<platform::DirectoryEntry> List(const std::string& relative) const {
    const std::string folder = pathPrefix_ + relative;
    std::vector<platform::DirectoryEntry> entries;
    // A folder that is not there holds no match; one that is there but
    // cannot be read might hold pages that would silently go unsynchronised.
    if (!platform::ListDirectory(folder, entries) && platform::DirectoryExists(folder.empty() ? "." : folder))
      RaiseFileOpenError(namePrefix_ + relative);
    return entries;
  }

  void Add(const std::string& relative) {
    found_.push_back({namePrefix_ + relative, pathPrefix_ + relative, {}});
  }

  std::vector<PathSegment> segments_;
  std::string pathPrefix_;
  std::string namePrefix_;
  std::set<std::pair<std::string, std::size_t>> walkedAnyFolders_;
  std::vector<FoundFile> found_;
};

// Byte order of name; one name per file, the first in that order.
std::vector<FoundFile> OncePerFile(std::vector<FoundFile> found) {
  std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return a.name < b.name; });
  std::vector<FoundFile> once;
  std::set<std::pair<std::uint64_t, std::uint64_t>> seen;
  for (FoundFile& file : found) {
    // A file gone since it was listed is no longer found.
    if (!platform::IdentifyFile(file.path, file.identity) ||
        !seen.insert({file.identity.volume, file.identity.index}).second)
      continue;
    once.push_back(std::move(file));
  }
  return once;
}

}  // namespace

bool IsPatternEntry(const std::string& entry, const std::string& baseFolder) {
  const std::size_t root = RootLength(entry);
  if (!HasWildcard(entry.substr(root))) return false;
  return !platform::FileExists(root > 0 ? entry : baseFolder + entry);
}

std::vector<FoundFile> ExpandPatternEntry(const std::string& pattern, const std::string& baseFolder) {
  SplitPath split = SplitAtDelimiters(pattern);
  // A pattern ending in a delimiter names folders, never files.
  if (split.segments.empty() || split.segments.back().delimiter != '\0') return {};
  const bool relative = split.root.empty();
  PatternWalk walk(WalkSegments(std::move(split.segments)), relative ? baseFolder : split.root,
                   relative ? std::string() : split.root);
  walk.Walk(std::string(), 0);
  return OncePerFile(walk.TakeFound());
}
