// The files a run works on, from the list's entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform.h"
#include "Strings.h"

struct Target {
  std::int32_t index;  // in the list
  std::string name;    // as the list holds it, for progress and messages
  std::string path;    // the name to open: a relative one counted from the run's base folder
};

// The name under which a run opens a listed name: a relative name counts
// from baseFolder ("" for the current folder, else ending in a delimiter).
std::string ResolveEntry(const std::string& name, const std::string& baseFolder);

// Every entry but blank ones and the source: the source is left out when
// an entry names it as it was given, and also when an entry names the same
// file otherwise ("./s.html", a link, a hard link), which a run would
// otherwise rewrite with itself.
std::vector<Target> CollectTargets(const TStrings& fileList, const std::string& sourceFileName,
                                   const platform::FileIdentity& source, const std::string& baseFolder);
