// All targets replaced, or none: every new text is written to a temporary
// file first; at the commit every target is checked again (and planned
// again if it changed since it was read) and checked to be replaceable
// before the first rename; a rename that still fails puts back the targets
// already replaced, from the bytes the run read.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Platform.h"
#include "TargetReplace.h"

// For tests: called once every target has been checked, right before the
// first rename.
extern std::function<void()> OnAtomicCommit;

class AtomicReplacement {
 public:
  explicit AtomicReplacement(bool skipUnchanged) : skipUnchanged_(skipUnchanged) {}

  // Reads (unless its first reading is given) and plans a target and
  // prepares its replacement. Raises as a plain run would; nothing has been
  // replaced then. The planner must keep the old bytes: they are what an
  // undo writes back.
  void Add(const Target& target, TPlanner planner, StaleTemporarySweep& sweep,
           std::optional<SettledFile> firstRead = std::nullopt);
  // Replaces every prepared target. Raises EFCreateError when one cannot be
  // replaced, after the others were put back.
  void Commit();

 private:
  struct Entry {
    Target target;
    TPlanner planner;
    platform::FileIdentity identity;
    std::string oldBytes;
    platform::FileReplacement replacement;
  };
  // False when the target needs no rewriting (skipUnchanged).
  bool Prepare(Entry& entry, std::optional<SettledFile> read = std::nullopt);
  void RedoChanged();
  void PutBack(std::size_t replaced, const std::string& failedName);

  bool skipUnchanged_;
  std::vector<Entry> entries_;
};
