// List entries that name files by pattern ("site/**/*.html") rather than
// one by one.
#pragma once

#include <string>
#include <vector>

#include "DirectoryListing.h"
#include "Platform.h"

// An entry holding "*" or "?" after its root is a pattern, unless a file of
// exactly that name exists. Relative names count from baseFolder: "" is the
// current folder, anything else ends in a delimiter.
bool IsPatternEntry(const std::string& entry, const std::string& baseFolder);

struct FoundFile {
  std::string name;                  // as written for the user: relative when the pattern is
  std::string path;                  // the name to open: baseFolder + name for a relative pattern
  platform::FileIdentity identity;   // tells the file apart from other names of it
};

// Every regular file the pattern matches (links to regular files included),
// in byte order of name, each file once. "*" is any run of characters within
// one name, "?" one character, a whole segment "**" any number of folders
// (none included; linked folders and folders starting with "." are not
// entered), and a trailing "**" every file below. Names are joined with the
// delimiters the pattern itself uses. A folder the walk must read but cannot
// raises EFOpenError; a pattern that matches nothing gives an empty list.
std::vector<FoundFile> ExpandPatternEntry(const std::string& pattern, const std::string& baseFolder);
