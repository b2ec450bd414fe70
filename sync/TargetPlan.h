// One target planned from the bytes read: where its region lies and the
// bytes a run writes in their place.
#pragma once

#include <string>

#include "RegionWriter.h"
#include "SettledRead.h"

struct TargetPlan {
  std::string oldBytes;  // only when asked for: a plain run does not keep them
  std::string newBytes;
  bool hasRegion = false;
  bool hasOpening = false;  // the opening marker, with or without its closing one
  bool regionDiffers = false;
};

struct PlanOptions {
  bool keepLineBreaks = false;  // the target keeps its own line breaks and its last line's
  bool keepOldBytes = false;
  bool withNewBytes = true;  // false: only the region is looked at
};

// Reads a target settled; a file holding a zero byte is refused with an
// Exception naming it, since rewriting it would lose everything after it.
SettledFile ReadTarget(const std::string& fileName, const std::string& path);

// Takes the bytes over. The peak is the bytes, their normalised copy where
// they need one, and the new bytes: never the library's copies of a text.
TargetPlan PlanTarget(const RegionWriter& writer, std::string bytes, const PlanOptions& options);
