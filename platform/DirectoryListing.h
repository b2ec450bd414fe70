// Reading a folder's entries: what a search for files by pattern needs
// from the file system (IdentifyFile tells two names of one file apart).
#pragma once

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

}  // namespace platform
