// A path split where this build's file system splits it: the root it
// counts from and the names between delimiters.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// '/' natively; '/' or '\' in the Windows build.
bool IsNameDelimiter(char c);

// Length of the root a path counts from: natively its leading "/"; in the
// Windows build also "C:" with the delimiter after it, "\\server\share\"
// and a leading delimiter. 0 for a relative path.
std::size_t RootLength(const std::string& path);

struct PathSegment {
  std::string name;
  char delimiter = 0;  // the delimiter written after the name; 0 after the last
};

struct SplitPath {
  std::string root;
  std::vector<PathSegment> segments;  // empty names (doubled delimiters) left out
};

// A double-byte character's trail byte is never a delimiter.
SplitPath SplitAtDelimiters(const std::string& path);
