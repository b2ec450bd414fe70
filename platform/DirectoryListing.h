// Reading a folder's entries, and telling when two names open one file:
// what a search for files by pattern needs from the file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct DirectoryEntry {
  std::string name;
  bool isFolder = false;       // symbolic links followed
  bool isRegularFile = false;  // symbolic links followed
  bool isLink = false;         // the entry itself is a symbolic link (or, on Windows, a junction)
};

// The entries of a folder ("" is the current folder; a trailing delimiter
// is optional), "." and ".." left out, in the order the system gives them.
// False when the folder cannot be read; entries are then empty.
bool ListDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries);

// True for a regular file, symbolic links followed (no folder, device or pipe).
bool IsRegularFile(const std::string& name);

struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.volume == b.volume && a.index == b.index;
  }
  friend bool operator<(const FileIdentity& a, const FileIdentity& b) {
    return a.volume != b.volume ? a.volume < b.volume : a.index < b.index;
  }
};

// Which file a name opens (symbolic links followed), so that two spellings
// or links of one file can be told apart from two files; false when the
// name opens nothing.
bool GetFileIdentity(const std::string& name, FileIdentity& identity);

}  // namespace platform
