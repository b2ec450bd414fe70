#include "SyncRun.h"

#include <cstring>
#include <optional>
#include <set>
#include <vector>

#include "AtomicReplacement.h"
#include "BRegExp.h"
#include "EncodingConversion.h"
#include "EncodingDetection.h"
#include "EncodingErrors.h"
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

// A file a pattern found is a target only if it is text (a pattern may find
// images) and opens one of the regions; it is read once for that.
std::optional<SettledFile> ReadIfTarget(const Target& target, SourceRegions& regions) {
  SettledFile read = ReadSettledFile(target.name, target.path);
  if (std::memchr(read.bytes.data(), '\0', read.bytes.size()) || !OpensAnyRegion(regions, read.bytes))
    return std::nullopt;
  return read;
}

// The folder a name lies in, as a full path ending in a delimiter.
std::string FullFolder(const std::string& path) {
  return platform::ExtractFilePath(platform::ExpandFileName(path, platform::GetCurrentDir()));
}

// A listed target must hold every region (one, unless --all); a target
// found by a pattern every region whose opening marker it holds.
bool HoldsItsRegions(const Target& target, const TargetPlan& plan, const SourceRegions& regions) {
  return target.found ? plan.HasRegion() : plan.regionsFound == regions.Count();
}

// Every target that lacks a region, every target that cannot be read and
// every pattern that finds no target, named at once before anything is
// written.
void RequireRegions(SourceRegions& regions, const TargetSet& set, const TStrings& fileList) {
  std::string missing;
  std::vector<ETargetProblems::Problem> others;
  std::set<std::int32_t> patternsWithTargets;
  for (const Target& target : set.targets) {
    ThrowIfInterrupted();
    try {
      NamingMemoryFailures(target.name, [&] {
        std::optional<SettledFile> read;
        if (target.found) {
          read = ReadIfTarget(target, regions);
          if (!read) return;
          patternsWithTargets.insert(target.index);
        }
        std::string bytes = read ? std::move(read->bytes) : ReadTarget(target.name, target.path).bytes;
        const TargetPlan plan = PlanTarget(regions, {target.name, {}}, std::move(bytes), {false, false, false});
        if (plan.encodingMismatch) RaiseEncodingMismatch(target.name, plan.encoding, regions.SourceEncoding());
        if (!HoldsItsRegions(target, plan, regions)) missing += (missing.empty() ? "" : ", ") + ShortenedName(target.name);
      });
    } catch (const EAbort&) {
      throw;
    } catch (const Exception& error) {
      others.push_back({error.ClassName(), error.Message()});
    }
  }
  std::vector<ETargetProblems::Problem> problems;
  if (!missing.empty())
    problems.push_back(
        {"Exception", Format("次のファイルには変数 %s の範囲がありません: %s", {regions.Names(), missing})});
  for (const std::int32_t pattern : set.patterns)
    if (!patternsWithTargets.count(pattern))
      problems.push_back(
          {"Exception", Format("パターン %s に一致するファイルに変数 %s の範囲はありません", {ShortenedName(fileList.Get(pattern)), regions.Names()})});
  problems.insert(problems.end(), others.begin(), others.end());
  if (!problems.empty()) throw ETargetProblems(std::move(problems));
}

}  // namespace

RunSource FindSourceRegions(const std::string& variableName, const std::string& sourceFileName,
                            const TSyncOptions& options) {
  const std::string path = ResolveEntry(sourceFileName, options.baseFolder);
  SettledFile source = ReadSettledFile(sourceFileName, path);
  const TextEncoding encoding = DetectTextEncoding(source.bytes);
  RunSource found{SourceRegions(encoding, sourceFileName), source.identity};
  NamingMemoryFailures(sourceFileName, [&] {
    std::string text = NormaliseLineBreaks(source.bytes);
    std::string().swap(source.bytes);
    // A name given in the program's own encoding is looked for in the
    // source's (a name it cannot hold is looked for as it is).
    const ConvertedText named = ConvertText(variableName, NativeEncoding(), encoding);
    const std::vector<std::string> names =
        options.allVariables ? FindVariables(text) : std::vector{named.fault ? variableName : named.text};
    for (const std::string& name : names) {
      std::size_t position = 0, length = 0;
      if (RegExp().Locate(BuildMatchCommand(name), text, position, length))
        found.regions.Add(name, text.substr(position, length));
    }
  });
  if (found.regions.Count() == 0) throw Exception("変数が発見できませんでした。");
  if (options.relink) found.regions.Relink(FullFolder(path));
  if (options.convert) found.regions.ConvertForEachTarget();
  Notify(sourceFileName, BuildMatchCommand(found.regions.Writer(0).VariableName()), -1);
  return found;
}

void Notify(const std::string& fileName, const std::string& command, std::int32_t index) {
  if (OnSyncProgress) OnSyncProgress(fileName, command, index);
}

void ThrowIfInterrupted() {
  if (platform::InterruptSignal() != 0) throw EAbort();
}

void RunTargets(RunSource& source, const std::string& sourceFileName, const TStrings& fileList,
                const TSyncOptions& options, const TTargetReport& report, const std::string& backupFolder) {
  SourceRegions& regions = source.regions;
  const TargetSet set = CollectTargets(fileList, sourceFileName, source.identity, options.baseFolder);
  if (options.strict) RequireRegions(regions, set, fileList);

  PlanOptions planOptions;
  planOptions.keepLineBreaks = options.keepLineBreaks;
  planOptions.keepOldBytes = options.atomic || options.skipUnchanged || (options.dryRun && !options.regionsOnly);
  planOptions.withNewBytes = !(options.dryRun && options.regionsOnly);
  const std::string names = regions.Names();

  StaleTemporarySweep sweep;
  AtomicReplacement atomic(options.skipUnchanged);
  for (const Target& target : set.targets) {
    // A stop asked for while the previous file was written takes effect
    // here, with that file complete.
    ThrowIfInterrupted();
    NamingMemoryFailures(target.name, [&] {
      // A file a pattern found is left alone, unprinted, unless it opens
      // one of the regions: a pattern may find images and other pages.
      std::optional<SettledFile> read;
      if (target.found && !(read = ReadIfTarget(target, regions))) return;
      Notify(target.name, regions.Command(), target.index);
      if (!backupFolder.empty())
        platform::CopyFileReplacing(target.path, backupFolder + platform::ExtractFileName(target.path));
      const TargetPlace place{target.name, options.relink ? FullFolder(target.path) : std::string()};
      if (options.dryRun) {
        const TargetPlan plan = PlanTarget(
            regions, place, read ? std::move(read->bytes) : ReadTarget(target.name, target.path).bytes, planOptions);
        // A target the run would refuse differs, and says why.
        std::string problem;
        if (plan.encodingMismatch) {
          try {
            RaiseEncodingMismatch(target.name, plan.encoding, regions.SourceEncoding());
          } catch (const EEncodingError& error) {
            problem = error.Message();
          }
        }
        if (report)
          report({target.index, target.name, names, plan.HasRegion() || plan.encodingMismatch,
                  plan.regionsOpened > 0, plan.regionDiffers || plan.encodingMismatch, problem, plan.oldBytes,
                  plan.newBytes});
        return;
      }
      // Garbling a target is never done: its run stops there instead.
      const TPlanner planner = [&regions, place, &planOptions](std::string bytes) {
        TargetPlan plan = PlanTarget(regions, place, std::move(bytes), planOptions);
        if (plan.encodingMismatch) RaiseEncodingMismatch(place.name, plan.encoding, regions.SourceEncoding());
        return plan;
      };
      if (options.atomic) {
        atomic.Add(target, planner, sweep, std::move(read));
      } else {
        ReplaceTarget(target, planner, options.skipUnchanged, sweep, std::move(read));
      }
    });
  }
  if (options.atomic && !options.dryRun) atomic.Commit();
}
