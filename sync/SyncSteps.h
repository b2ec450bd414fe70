// The steps that the plain run and the run with options share.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "RegionWriter.h"
#include "Strings.h"
#include "SyncOptions.h"

namespace sync_steps {

// Reads the source file, finds its first region (raising Exception when it
// has none) and tells the progress hook.
RegionWriter FindSourceRegion(const std::string& variableName, const std::string& sourceFileName);

void Notify(const std::string& fileName, const std::string& command, std::int32_t index);

// Every entry but the source file itself (by its name as listed) and blank
// lines is a target.
bool IsTarget(const std::string& entry, const std::string& sourceFileName);

// A stop asked for (Ctrl+C, SIGTERM, SIGHUP) takes effect between files.
void ThrowIfInterrupted();

// A target's bytes and the bytes a run writes in their place.
struct TargetPlan {
  std::string oldBytes;
  std::string newBytes;
  bool hasRegion = false;
  bool regionDiffers = false;
};
// Raises EFOpenError when the file cannot be read, and Exception when it
// holds a zero byte (rewriting would lose everything after it). Without
// withNewBytes only the region is looked at.
TargetPlan PlanTarget(const RegionWriter& writer, const std::string& fileName, bool keepLineBreaks,
                      bool withNewBytes = true);

// Replaces the file's content; raises EFCreateError when that fails.
void WriteTarget(const std::string& fileName, const std::string& bytes);

// Temporary files that killed runs left are removed from each folder a run
// writes into, once, before the first file there is replaced.
class StaleTemporarySweep {
 public:
  void Before(const std::string& fileName);

 private:
  std::set<std::string> swept_;
};

// Works on every target of the list, in list order, as the options say;
// with a backup folder each target is first copied into it.
void SyncTargets(const std::string& variableName, const RegionWriter& writer, const std::string& sourceFileName,
                 const TStrings& fileList, const TSyncOptions& options, const TTargetReport& report,
                 const std::string& backupFolder);

}  // namespace sync_steps
