#include "Relink.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "AsciiCharacters.h"
#include "NameCharacters.h"
#include "PathSegments.h"

namespace {

// Names compare as the file system compares them: in the Windows build
// without case for ASCII letters (never for a trail byte).
std::string NameKey(const std::string& name) {
#ifdef _WIN32
  std::string key = name;
  for (std::size_t i = 0; i < key.size();) {
    const std::size_t width = CharacterWidth(key, i);
    if (width == 1) key[i] = FoldAsciiCase(key[i]);
    i += width;
  }
  return key;
#else
  return name;
#endif
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(const std::string& text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// A folder's name as a URL path segment: bytes that would end the value, the
// segment or the URL, or that the HTML around it would read, are escaped;
// other characters stay in the page's own encoding.
std::string PercentEncoded(const std::string& name) {
  std::string encoded;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t width = CharacterWidth(name, i);
    const auto c = static_cast<unsigned char>(name[i]);
    if (width == 1 && (c <= 0x20 || c == 0x7F || IsOneOf(name[i], "\"#%&'()<>?\\`"))) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      encoded += escaped;
    } else {
      encoded.append(name, i, width);
    }
    i += width;
  }
  return encoded;
}

FolderPath ParseFolder(const std::string& folder) {
  const SplitPath split = SplitAtDelimiters(folder);
  FolderPath path;
  path.rootKey = NameKey(split.root);
  for (char& c : path.rootKey)
    if (IsNameDelimiter(c)) c = '/';
  for (const PathSegment& segment : split.segments) {
    if (segment.name == "..") {
      if (!path.names.empty()) path.names.pop_back();
    } else if (segment.name != ".") {
      path.names.push_back({PercentEncoded(segment.name), NameKey(segment.name)});
    }
  }
  return path;
}

bool SameFolder(const FolderPath& a, const FolderPath& b) {
  if (a.rootKey != b.rootKey || a.names.size() != b.names.size()) return false;
  for (std::size_t i = 0; i < a.names.size(); ++i)
    if (a.names[i].key != b.names[i].key) return false;
  return true;
}

bool HasScheme(const std::string& reference) {
  if (reference.empty() || !IsAsciiLetter(reference[0])) return false;
  for (std::size_t i = 1; i < reference.size(); ++i) {
    const char c = reference[i];
    if (c == ':') return true;
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

bool IsRelative(const std::string& reference) {
  return !reference.empty() && !IsOneOf(reference[0], "/\\#?") && !HasScheme(reference);
}

// A relative path rebased from the source folder to the target folder.
std::string RebasePath(const std::string& path, const FolderPath& source, const FolderPath& target) {
  std::vector<FolderPath::Name> names = source.names;
  bool toFolder = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size();) {
    if (i < path.size() && path[i] != '/' && path[i] != '\\') {
      i += CharacterWidth(path, i);
      continue;
    }
    const std::string segment = path.substr(start, i - start);
    toFolder = i < path.size() || segment.empty() || segment == "." || segment == "..";
    if (segment == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!segment.empty() && segment != ".") {
      names.push_back({segment, NameKey(PercentDecoded(segment))});
    }
    start = ++i;
  }
  // A file's own name is never taken for a folder the target lies in.
  const std::size_t folders = toFolder ? names.size() : names.size() - 1;
  std::size_t common = 0;
  while (common < folders && common < target.names.size() && names[common].key == target.names[common].key)
    ++common;
  std::string rebased;
  for (std::size_t up = common; up < target.names.size(); ++up) rebased += "../";
  for (std::size_t i = common; i < names.size(); ++i) {
    if (i > common) rebased += '/';
    rebased += names[i].written;
  }
  if (toFolder && common < names.size()) rebased += '/';
  return rebased.empty() ? "./" : rebased;
}

std::string RebaseReference(const std::string& value, const FolderPath& source, const FolderPath& target) {
  std::size_t begin = 0, end = value.size();
  while (begin < end && IsHtmlSpace(value[begin])) ++begin;
  while (end > begin && IsHtmlSpace(value[end - 1])) --end;
  const std::string reference = value.substr(begin, end - begin);
  if (!IsRelative(reference)) return value;
  // "?" and "#" lie below every Shift_JIS trail byte.
  const std::size_t pathEnd = std::min(reference.find_first_of("?#"), reference.size());
  return value.substr(0, begin) + RebasePath(reference.substr(0, pathEnd), source, target) +
         reference.substr(pathEnd) + value.substr(end);
}

}  // namespace

RegionRelinker::RegionRelinker(std::string region, const std::string& sourceFolder)
    : region_(std::move(region)), source_(ParseFolder(sourceFolder)), references_(FindReferenceValues(region_)) {}

const std::string& RegionRelinker::ForFolder(const std::string& targetFolder) {
  const auto known = relinked_.find(targetFolder);
  if (known != relinked_.end()) return known->second;
  const FolderPath target = ParseFolder(targetFolder);
  if (target.rootKey != source_.rootKey || SameFolder(source_, target))
    return relinked_.emplace(targetFolder, region_).first->second;
  std::string relinked;
  relinked.reserve(region_.size() + region_.size() / 8);
  std::size_t copied = 0;
  for (const TextSpan& span : references_) {
    relinked.append(region_, copied, span.offset - copied);
    relinked += RebaseReference(region_.substr(span.offset, span.length), source_, target);
    copied = span.offset + span.length;
  }
  relinked.append(region_, copied, std::string::npos);
  return relinked_.emplace(targetFolder, std::move(relinked)).first->second;
}

std::string RelinkRegion(const std::string& region, const std::string& sourceFolder,
                         const std::string& targetFolder) {
  return RegionRelinker(region, sourceFolder).ForFolder(targetFolder);
}
