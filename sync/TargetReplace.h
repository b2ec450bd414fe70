// Replacing targets only while each is still what the run read: an edit
// made meanwhile (by an editor, or by another run for another variable) is
// never overwritten; the target is read and planned again instead.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "SettledRead.h"
#include "TargetList.h"
#include "TargetPlan.h"

// Makes a target's plan from its bytes as read.
using TPlanner = std::function<TargetPlan(std::string bytes)>;

// For tests: called after a target was read and planned and before the
// run checks that it is unchanged, so that a test can change it there.
extern std::function<void(const std::string& path)> OnTargetPlanned;

// Temporary files that killed runs left are removed from each folder a run
// writes into, once, before the first file there is replaced.
class StaleTemporarySweep {
 public:
  void Before(const std::string& path);

 private:
  std::set<std::string> swept_;
};

// The error for a target that kept changing while the run worked on it;
// it is left as the other writer made it.
[[noreturn]] void RaiseTargetKeptChanging(const std::string& fileName);

// Reads, plans and replaces one target (its first reading may be given).
// With skipUnchanged (the planner then keeps the old bytes) a plan that
// changes nothing is not written. Raises EFCreateError when it cannot be
// written or kept changing.
void ReplaceTarget(const Target& target, const TPlanner& planner, bool skipUnchanged, StaleTemporarySweep& sweep,
                   std::optional<SettledFile> firstRead = std::nullopt);
