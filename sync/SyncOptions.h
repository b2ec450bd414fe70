// A synchronisation run with the console program's options: compare only,
// require every region, keep each file's line breaks, replace all files or
// none, leave files alone that would not change.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Strings.h"

struct TSyncOptions {
  bool dryRun = false;          // nothing is written; each target is reported
  bool regionsOnly = false;     // with dryRun: regions are compared, no new texts made (newBytes stays empty)
  bool strict = false;          // every target must hold the region, checked before anything is written
  bool keepLineBreaks = false;  // a target keeps its line breaks and its last line's break or lack of one
  bool atomic = false;          // every new text is ready before the first target is replaced
  bool skipUnchanged = false;   // a target whose new text equals its bytes is not rewritten
  bool allVariables = false;    // every variable whose region the source holds, not one named
  bool relink = false;          // relative references in a region rebased for each target's folder
  bool convert = false;         // regions converted into each target's encoding
  std::string baseFolder;       // relative names count from here ("" for the current folder,
                                // else ending in a delimiter)
};

// What a run does, or would do, to one target.
struct TTargetOutcome {
  std::int32_t index;
  const std::string& fileName;
  const std::string& variables;  // the names, for messages: "menu" or "menu, footer"
  bool hasRegion;      // every region it opens is whole, and there is one
  bool hasOpening;     // an opening marker, with or without a closing one
  bool regionDiffers;  // its region differs from the source's (line breaks normalised)
  const std::string& problem;  // why a run would refuse it ("" when it would not)
  const std::string& oldBytes;
  const std::string& newBytes;
};
using TTargetReport = std::function<void(const TTargetOutcome&)>;

// Like SyncVariable without backups, with the options; report, when given,
// hears of every target compared (dryRun), in list order. With strict, the
// problems found before anything is written come as one ETargetProblems.
void SyncVariableWithOptions(const std::string& variableName, const std::string& sourceFileName,
                             const TStrings& fileList, const TSyncOptions& options,
                             const TTargetReport& report = nullptr);
