// What --check and --diff print for each target compared: the names of the
// targets not in agreement, or a patch, on standard output; a target
// without its region is also named on standard error, with the reason.
#pragma once

#include <string>

#include "ConsoleOptions.h"
#include "SyncOptions.h"

class ComparisonPrinter {
 public:
  explicit ComparisonPrinter(const ConsoleOptions& options) : options_(options) {}
  void operator()(const TTargetOutcome& outcome);
  // Anything differs, a missing region included.
  bool Differs() const { return differs_; }

 private:
  const ConsoleOptions& options_;
  bool differs_ = false;
};
