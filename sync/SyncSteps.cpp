#include "SyncSteps.h"

#include "BRegExp.h"
#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "SyncList.h"
#include "SyncUnit.h"
#include "TextFile.h"

#include <utility>
#include <vector>

namespace sync_steps {

namespace {

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

RegionWriter FindSourceRegion(const std::string& variableName, const std::string& sourceFileName) {
  const std::string matchCommand = BuildMatchCommand(variableName);
  const std::string source = LoadTextFile(sourceFileName);
  TBRegExp& regExp = RegExp();
  if (!regExp.Match(matchCommand, source) || regExp.Count() < 1) throw Exception("変数が発見できませんでした。");
  RegionWriter writer(variableName, regExp.Strings(0));
  Notify(sourceFileName, matchCommand, -1);
  return writer;
}

void Notify(const std::string& fileName, const std::string& command, std::int32_t index) {
  if (OnSyncProgress) OnSyncProgress(fileName, command, index);
}

bool IsTarget(const std::string& entry, const std::string& sourceFileName) {
  return entry != sourceFileName && !IsBlankEntry(entry);
}

void ThrowIfInterrupted() {
  if (platform::InterruptSignal() != 0) throw EAbort();
}

TargetPlan PlanTarget(const RegionWriter& writer, const std::string& fileName, bool keepLineBreaks,
                      bool withNewBytes) {
  TargetPlan plan;
  plan.oldBytes = LoadRewritableBytes(fileName);
  // Both texts carry the platform's line breaks, so the result does too and
  // needs no second normalisation.
  std::string text = NormaliseLineBreaks(plan.oldBytes);
  std::string oldRegion;
  if (!withNewBytes) {
    plan.hasRegion = writer.Find(text, oldRegion);
    plan.regionDiffers = plan.hasRegion && oldRegion != writer.Region();
    return plan;
  }
  plan.hasRegion = writer.Apply(text, &oldRegion);
  plan.regionDiffers = plan.hasRegion && oldRegion != writer.Region();
  plan.newBytes = keepLineBreaks ? ApplyLineBreakStyle(text, DetectLineBreakStyle(plan.oldBytes)) : std::move(text);
  return plan;
}

void WriteTarget(const std::string& fileName, const std::string& bytes) {
  if (!platform::ReplaceFileContents(fileName, bytes.data(), bytes.size())) RaiseFileCreateError(fileName);
}

void StaleTemporarySweep::Before(const std::string& fileName) {
  const std::string folder = platform::ReplacementFolder(fileName);
  if (swept_.insert(folder).second) platform::RemoveStaleTemporaries(folder);
}

void SyncTargets(const std::string& variableName, const RegionWriter& writer, const std::string& sourceFileName,
                 const TStrings& fileList, const TSyncOptions& options, const TTargetReport& report,
                 const std::string& backupFolder) {
  const std::vector<Target> targets = Targets(fileList, sourceFileName);
  if (options.strict) RequireRegions(writer, targets, variableName);

  StaleTemporarySweep sweep;
  std::vector<std::pair<std::string, platform::FileReplacement>> prepared;
  for (const Target& target : targets) {
    // A stop asked for while the previous file was written takes effect
    // here, with that file complete.
    ThrowIfInterrupted();
    Notify(target.fileName, writer.Command(), target.index);
    if (!backupFolder.empty())
      platform::CopyFileReplacing(target.fileName, backupFolder + platform::ExtractFileName(target.fileName));
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

}  // namespace sync_steps
