#include "SyncRun.h"

#include <vector>

#include "AtomicReplacement.h"
#include "BRegExp.h"
#include "Exceptions.h"
#include "Format.h"
#include "SettledRead.h"
#include "SyncUnit.h"
#include "TargetList.h"
#include "TargetPlan.h"
#include "TargetProblems.h"
#include "TargetReplace.h"
#include "TextFile.h"

namespace {

// Every target that holds no region, and every target that cannot be
// read, named at once before anything is written.
void RequireRegions(const RegionWriter& writer, const std::vector<Target>& targets) {
  std::string missing;
  std::vector<ETargetProblems::Problem> others;
  for (const Target& target : targets) {
    ThrowIfInterrupted();
    try {
      const bool hasRegion = NamingMemoryFailures(target.name, [&] {
        return PlanTarget(writer, ReadTarget(target.name, target.path).bytes, {false, false, false}).hasRegion;
      });
      if (!hasRegion) missing += (missing.empty() ? "" : ", ") + target.name;
    } catch (const EAbort&) {
      throw;
    } catch (const Exception& error) {
      others.push_back({error.ClassName(), error.Message()});
    }
  }
  std::vector<ETargetProblems::Problem> problems;
  if (!missing.empty())
    problems.push_back(
        {"Exception", Format("次のファイルには変数 %s の範囲がありません: %s", {writer.VariableName(), missing})});
  problems.insert(problems.end(), others.begin(), others.end());
  if (!problems.empty()) throw ETargetProblems(std::move(problems));
}

}  // namespace

SourceRegion FindSourceRegion(const std::string& variableName, const std::string& sourceFileName,
                              const std::string& baseFolder) {
  const std::string matchCommand = BuildMatchCommand(variableName);
  SettledFile source = ReadSettledFile(sourceFileName, ResolveEntry(sourceFileName, baseFolder));
  std::string region = NamingMemoryFailures(sourceFileName, [&] {
    std::string text = NormaliseLineBreaks(source.bytes);
    std::string().swap(source.bytes);
    std::size_t position = 0, length = 0;
    if (!RegExp().Locate(matchCommand, text, position, length)) throw Exception("変数が発見できませんでした。");
    return text.substr(position, length);
  });
  SourceRegion found{RegionWriter(variableName, std::move(region)), source.identity};
  Notify(sourceFileName, matchCommand, -1);
  return found;
}

void Notify(const std::string& fileName, const std::string& command, std::int32_t index) {
  if (OnSyncProgress) OnSyncProgress(fileName, command, index);
}

void ThrowIfInterrupted() {
  if (platform::InterruptSignal() != 0) throw EAbort();
}

void RunTargets(const SourceRegion& source, const std::string& sourceFileName, const TStrings& fileList,
                const TSyncOptions& options, const TTargetReport& report, const std::string& backupFolder) {
  const RegionWriter& writer = source.writer;
  const std::vector<Target> targets = CollectTargets(fileList, sourceFileName, source.identity, options.baseFolder);
  if (options.strict) RequireRegions(writer, targets);

  PlanOptions planOptions;
  planOptions.keepLineBreaks = options.keepLineBreaks;
  planOptions.keepOldBytes = options.atomic || options.skipUnchanged || (options.dryRun && !options.regionsOnly);
  planOptions.withNewBytes = !(options.dryRun && options.regionsOnly);
  const TPlanner planner = [&](std::string bytes) { return PlanTarget(writer, std::move(bytes), planOptions); };

  StaleTemporarySweep sweep;
  AtomicReplacement atomic(planner, options.skipUnchanged);
  for (const Target& target : targets) {
    // A stop asked for while the previous file was written takes effect
    // here, with that file complete.
    ThrowIfInterrupted();
    Notify(target.name, writer.Command(), target.index);
    if (!backupFolder.empty())
      platform::CopyFileReplacing(target.path, backupFolder + platform::ExtractFileName(target.path));
    NamingMemoryFailures(target.name, [&] {
      if (options.dryRun) {
        const TargetPlan plan = planner(ReadTarget(target.name, target.path).bytes);
        if (report)
          report({target.index, target.name, plan.hasRegion, plan.hasOpening, plan.regionDiffers, plan.oldBytes,
                  plan.newBytes});
      } else if (options.atomic) {
        atomic.Add(target, sweep);
      } else {
        ReplaceTarget(target, planner, options.skipUnchanged, sweep);
      }
    });
  }
  if (options.atomic && !options.dryRun) atomic.Commit();
}
