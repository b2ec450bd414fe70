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
  // The planner must keep the old bytes: they are what an undo writes back.
  AtomicReplacement(TPlanner planner, bool skipUnchanged) : planner_(std::move(planner)), skipUnchanged_(skipUnchanged) {}

  // Reads and plans a target and prepares its replacement. Raises as a
  // plain run would; nothing has been replaced then.
  void Add(const Target& target, StaleTemporarySweep& sweep);
  // Replaces every prepared target. Raises EFCreateError when one cannot be
  // replaced, after the others were put back.
  void Commit();

 private:
  struct Entry {
    Target target;
    platform::FileIdentity identity;
    std::string oldBytes;
    platform::FileReplacement replacement;
  };
  // False when the target needs no rewriting (skipUnchanged).
  bool Prepare(Entry& entry);
  void RedoChanged();
  void PutBack(std::size_t replaced, const std::string& failedName);

  TPlanner planner_;
  bool skipUnchanged_;
  std::vector<Entry> entries_;
};
