#include "TargetReplace.h"

#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"

std::function<void(const std::string& path)> OnTargetPlanned;

void StaleTemporarySweep::Before(const std::string& path) {
  const std::string folder = platform::ReplacementFolder(path);
  if (swept_.insert(folder).second) platform::RemoveStaleTemporaries(folder);
}

void RaiseTargetKeptChanging(const std::string& fileName) {
  throw EFCreateError(
      Format("ファイル %s は書き換える間に他のプログラムに変更され続けたため、書き換えませんでした", {ShortenedName(fileName)}));
}

void ReplaceTarget(const Target& target, const TPlanner& planner, bool skipUnchanged, StaleTemporarySweep& sweep,
                   std::optional<SettledFile> firstRead) {
  for (int attempt = 0; attempt < kChangedFileAttempts; ++attempt) {
    SettledFile read = attempt == 0 && firstRead ? std::move(*firstRead) : ReadTarget(target.name, target.path);
    const TargetPlan plan = planner(std::move(read.bytes));
    if (skipUnchanged && plan.newBytes == plan.oldBytes) return;
    sweep.Before(target.path);
    platform::FileReplacement replacement;
    if (!replacement.Prepare(target.path, plan.newBytes.data(), plan.newBytes.size()))
      RaiseFileCreateError(target.name);
    if (OnTargetPlanned) OnTargetPlanned(target.path);
    // The last look and the rename under one lock: another run cannot
    // replace the file between them.
    const platform::FolderLock lock(platform::ReplacementFolder(target.path));
    if (!lock.Locked()) throw EAbort();
    for (int wait = 0;; ++wait) {
      platform::FileIdentity now;
      if (!platform::IdentifyFile(target.path, now) || now != read.identity) break;
      if (replacement.Commit()) return;
      if (wait == kHeldFileWaits) RaiseFileCreateError(target.name);
      PauseForHeldFile();
    }
  }
  RaiseTargetKeptChanging(target.name);
}
