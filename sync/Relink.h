// Rewriting a region's relative references for a page in another folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ReferenceScanner.h"

// Rewrites the region's relative references so that, read from a page in
// targetFolder, they lead where they led from a page in sourceFolder. Both
// folders are full paths ending in a delimiter. A reference is relative when
// it has no scheme ("name:") and starts with none of "/", "\", "#" and "?";
// its path is rebased (written with "/"), its query and fragment kept, and a
// reference to a file in targetFolder becomes that file's name. Everything
// else stays byte for byte, and so does the whole region when the folders are
// the same or on different drives.
std::string RelinkRegion(const std::string& region, const std::string& sourceFolder,
                         const std::string& targetFolder);

// A folder as a root and the names below it, each written as in a URL and
// keyed as the file system compares names.
struct FolderPath {
  struct Name {
    std::string written;
    std::string key;
  };
  std::string rootKey;
  std::vector<Name> names;
};

// One region relinked for many target folders: the region is scanned once,
// and each folder's result made once.
class RegionRelinker {
 public:
  RegionRelinker(std::string region, const std::string& sourceFolder);
  const std::string& ForFolder(const std::string& targetFolder);

 private:
  std::string region_;
  FolderPath source_;
  std::vector<TextSpan> references_;
  std::map<std::string, std::string> relinked_;
};
