// Path and time helpers shared by both platforms.
#include "Platform.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

std::function<void(const std::string& name)> OnFilePieceRead;

namespace {

// A double-byte character's trail byte may equal "\" (the 5C of "ソ"), so
// delimiters are searched character by character.
bool IsLeadByte(unsigned char c) {
#ifdef _WIN32
  return IsDBCSLeadByte(c) != FALSE;
#else
  (void)c;
  return false;
#endif
}

// Index of the last path delimiter, or npos.
std::size_t LastDelimiter(const std::string& name) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (IsPathDelimiter(name[i])) last = i;
  }
  return last;
}

}  // namespace

std::int32_t PackDosDateTime(const LocalTime& t) {
  if (t.year < 1980 || t.year > 2107) return -1;
  const auto date = static_cast<std::uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
  const auto time = static_cast<std::uint32_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
  return static_cast<std::int32_t>((date << 16) | time);
}

bool IsPathDelimiter(char c) {
#ifdef _WIN32
  // The file API takes "/" as well as "\\".
  return c == '\\' || c == '/' || c == ':';
#else
  return c == '/';
#endif
}

bool IsRelativePath(const std::string& name) {
#ifdef _WIN32
  if (name.size() >= 2 && name[1] == ':' && !IsLeadByte(static_cast<unsigned char>(name[0]))) return false;
  return name.empty() || (name[0] != '\\' && name[0] != '/');
#else
  return name.empty() || name[0] != '/';
#endif
}

std::string ExtractFilePath(const std::string& name) {
  const std::size_t last = LastDelimiter(name);
  return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

std::string ExtractFileName(const std::string& name) {
  const std::size_t last = LastDelimiter(name);
  return last == std::string::npos ? name : name.substr(last + 1);
}

std::string IncludeTrailingDelimiter(const std::string& dir) {
  const std::size_t last = LastDelimiter(dir);
  if (!dir.empty() && last == dir.size() - 1 && dir[last] != ':') return dir;
  return dir + kPathDelimiter;
}

std::string ExcludeTrailingDelimiter(const std::string& dir, std::size_t keep) {
  std::string path = dir;
  while (path.size() > keep) {
    const std::size_t last = LastDelimiter(path);
    if (last != path.size() - 1 || path[last] == ':') break;
    path.pop_back();
  }
  return path;
}

}  // namespace platform

namespace platform {

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::move(other.temporary_)), handle_(other.handle_) {
  other.temporary_.clear();
  other.handle_ = -1;
}

FileReplacement& FileReplacement::operator=(FileReplacement&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temporary_ = std::move(other.temporary_);
    handle_ = other.handle_;
    other.temporary_.clear();
    other.handle_ = -1;
  }
  return *this;
}

bool ReadWholeFile(const std::string& name, std::string& bytes) {
  FileIdentity identity;
  const ReadResult result = ReadWholeFileChecked(name, bytes, identity);
  return result == ReadResult::read || result == ReadResult::changed;
}

bool ReplaceFileContents(const std::string& name, const char* data, std::size_t size) {
  FileReplacement replacement;
  return replacement.Prepare(name, data, size) && replacement.Commit();
}

}  // namespace platform
