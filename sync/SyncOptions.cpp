#include "SyncOptions.h"

#include <utility>
#include <vector>

#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "SyncSteps.h"

namespace {

using namespace sync_steps;

struct Target {
  std::int32_t index;
  std::string fileName;
};

std::vector<Target> Targets(const TStrings& fileList, const std::string& sourceFileName) {
  std::vector<Target> targets;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) {
    std::string entry = fileList.Get(i);
    if (IsTarget(entry, sourceFileName)) targets.push_back({i, std::move(entry)});
  }
  return targets;
}

// Raises, naming every target that holds no region, before anything is
// written.
void RequireRegions(const RegionWriter& writer, const std::vector<Target>& targets, const std::string& variableName) {
  std::string missing;
  for (const Target& target : targets) {
    ThrowIfInterrupted();
    if (!PlanTarget(writer, target.fileName, false, false).hasRegion) missing += (missing.empty() ? "" : ", ") + target.fileName;
  }
  if (!missing.empty())
    throw Exception(Format("次のファイルには変数 %s の範囲がありません: %s", {variableName, missing}));
}

}  // namespace

void SyncVariableWithOptions(const std::string& variableName, const std::string& sourceFileName,
                             const TStrings& fileList, const TSyncOptions& options, const TTargetReport& report) {
  const RegionWriter writer = FindSourceRegion(variableName, sourceFileName);
  const std::vector<Target> targets = Targets(fileList, sourceFileName);
  if (options.strict) RequireRegions(writer, targets, variableName);

  StaleTemporarySweep sweep;
  std::vector<std::pair<std::string, platform::FileReplacement>> prepared;
  for (const Target& target : targets) {
    ThrowIfInterrupted();
    Notify(target.fileName, writer.Command(), target.index);
    const TargetPlan plan =
        PlanTarget(writer, target.fileName, options.keepLineBreaks, !(options.dryRun && options.regionsOnly));
    if (report) report({target.index, target.fileName, plan.hasRegion, plan.regionDiffers, plan.oldBytes, plan.newBytes});
    if (options.dryRun || (options.skipUnchanged && plan.newBytes == plan.oldBytes)) continue;
    sweep.Before(target.fileName);
    if (!options.atomic) {
      WriteTarget(target.fileName, plan.newBytes);
      continue;
    }
    // Written beside the target now, put in its place only once every
    // target is ready; on any failure before that the replacements are
    // discarded and no target has changed.
    platform::FileReplacement replacement;
    if (!replacement.Prepare(target.fileName, plan.newBytes.data(), plan.newBytes.size()))
      RaiseFileCreateError(target.fileName);
    prepared.emplace_back(target.fileName, std::move(replacement));
  }
  // Renames only, in list order; a stop asked for now waits until all are done.
  for (auto& [fileName, replacement] : prepared)
    if (!replacement.Commit()) RaiseFileCreateError(fileName);
}
