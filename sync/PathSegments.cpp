#include "PathSegments.h"

#include "AsciiCharacters.h"
#include "NameCharacters.h"

namespace {

// End of the name starting at i: the next delimiter, or the end.
std::size_t NameEnd(const std::string& path, std::size_t i) {
  while (i < path.size() && !IsNameDelimiter(path[i])) i += CharacterWidth(path, i);
  return i;
}

}  // namespace

bool IsNameDelimiter(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

std::size_t RootLength(const std::string& path) {
#ifdef _WIN32
  if (path.size() >= 2 && IsNameDelimiter(path[0]) && IsNameDelimiter(path[1])) {
    // "\\server\share\": both names belong to the root.
    std::size_t i = NameEnd(path, 2);
    if (i < path.size()) i = NameEnd(path, i + 1);
    return i < path.size() ? i + 1 : i;
  }
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':')
    return path.size() > 2 && IsNameDelimiter(path[2]) ? 3 : 2;
#endif
  std::size_t i = 0;
  while (i < path.size() && IsNameDelimiter(path[i])) ++i;
  return i;
}

SplitPath SplitAtDelimiters(const std::string& path) {
  SplitPath split;
  std::size_t i = RootLength(path);
  split.root = path.substr(0, i);
  while (i < path.size()) {
    const std::size_t end = NameEnd(path, i);
    if (end > i) {
      split.segments.push_back({path.substr(i, end - i), end < path.size() ? path[end] : '\0'});
    }
    i = end + 1;
  }
  return split;
}
