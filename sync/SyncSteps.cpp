#include "SyncSteps.h"

#include "BRegExp.h"
#include "Exceptions.h"
#include "Platform.h"
#include "SyncList.h"
#include "SyncUnit.h"
#include "TextFile.h"

namespace sync_steps {

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

}  // namespace sync_steps
