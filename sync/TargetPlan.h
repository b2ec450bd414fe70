// One target planned from the bytes read: where its regions lie and the
// bytes a run writes in their place.
#pragma once

#include <string>

#include "SettledRead.h"
#include "SourceRegions.h"

struct TargetPlan {
  std::string oldBytes;  // only when asked for: a plain run does not keep them
  std::string newBytes;
  std::size_t regionsFound = 0;   // variables whose region the target holds
  std::size_t regionsOpened = 0;  // variables whose opening marker it holds, closed or not
  bool regionDiffers = false;     // some region differs from the source's
  TextEncoding encoding = TextEncoding::Unknown;  // only told when the regions hold more than ASCII
  // Its encoding is known and not the source's, whose regions hold more
  // than ASCII: writing them unconverted would garble them (nothing is
  // planned then).
  bool encodingMismatch = false;

  // Every region it opens is whole, and there is at least one.
  bool HasRegion() const { return regionsFound > 0 && regionsFound == regionsOpened; }
};

struct PlanOptions {
  bool keepLineBreaks = false;  // the target keeps its own line breaks and its last line's
  bool keepOldBytes = false;
  bool withNewBytes = true;  // false: only the regions are looked at
};

// Reads a target settled; a file holding a zero byte is refused with an
// Exception naming it, since rewriting it would lose everything after it.
SettledFile ReadTarget(const std::string& fileName, const std::string& path);

// True when the bytes hold the opening marker of any of the variables: a
// file found by a pattern is a target only then.
bool OpensAnyRegion(SourceRegions& regions, const std::string& bytes);

// Where a target lies: its name for messages, and its folder (a full path
// ending in a delimiter) where links are rebased.
struct TargetPlace {
  std::string name;
  std::string folder;
};

// Takes the bytes over; each region found gets the source's, as it goes
// into a page at that place. For one region the peak is the bytes, their
// normalised copy where they need one, and the new bytes: never the
// library's copies of a text.
TargetPlan PlanTarget(SourceRegions& regions, const TargetPlace& place, std::string bytes,
                      const PlanOptions& options);
