// The files a run works on, from the list's entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform.h"
#include "Strings.h"

struct Target {
  std::int32_t index;  // of its entry in the list
  std::string name;    // for progress and messages: the entry, or the found file's name
  std::string path;    // the name to open: a relative one counted from the run's base folder
  bool found = false;  // found by a pattern entry: a target only if it opens a region
};

struct TargetSet {
  std::vector<Target> targets;
  std::vector<std::int32_t> patterns;  // the indices of the pattern entries
};

// The name under which a run opens a listed name: a relative name counts
// from baseFolder ("" for the current folder, else ending in a delimiter).
std::string ResolveEntry(const std::string& name, const std::string& baseFolder);

// Every entry but blank ones and the source, in list order, and for each
// pattern entry the files it finds, in byte order. The source is left out
// when an entry names it as it was given, and also when an entry names the
// same file otherwise ("./s.html", a link, a hard link), which a run would
// otherwise rewrite with itself. A file found by a pattern that an earlier
// entry already names is not named again.
TargetSet CollectTargets(const TStrings& fileList, const std::string& sourceFileName,
                         const platform::FileIdentity& source, const std::string& baseFolder);
