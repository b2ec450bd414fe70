#include "AtomicReplacement.h"

#include <map>

#include "Exceptions.h"
#include "Format.h"

std::function<void()> OnAtomicCommit;

bool AtomicReplacement::Prepare(Entry& entry, std::optional<SettledFile> firstRead) {
  SettledFile read = firstRead ? std::move(*firstRead) : ReadTarget(entry.target.name, entry.target.path);
  TargetPlan plan = entry.planner(std::move(read.bytes));
  if (skipUnchanged_ && plan.newBytes == plan.oldBytes) return false;
  entry.identity = read.identity;
  if (!entry.replacement.Prepare(entry.target.path, plan.newBytes.data(), plan.newBytes.size()))
    RaiseFileCreateError(entry.target.name);
  entry.oldBytes = std::move(plan.oldBytes);
  return true;
}

void AtomicReplacement::Add(const Target& target, TPlanner planner, StaleTemporarySweep& sweep,
                            std::optional<SettledFile> firstRead) {
  sweep.Before(target.path);
  Entry entry{target, std::move(planner), {}, {}, {}};
  if (!Prepare(entry, std::move(firstRead))) return;
  if (OnTargetPlanned) OnTargetPlanned(target.path);
  entries_.push_back(std::move(entry));
}

// Targets written by someone else since they were read are read and
// planned again, until all are as read.
void AtomicReplacement::RedoChanged() {
  for (int attempt = 0;; ++attempt) {
    bool anyChanged = false;
    for (std::size_t i = 0; i < entries_.size();) {
      Entry& entry = entries_[i];
      platform::FileIdentity now;
      if (platform::IdentifyFile(entry.target.path, now) && now == entry.identity) {
        ++i;
        continue;
      }
      if (attempt + 1 >= kChangedFileAttempts) RaiseTargetKeptChanging(entry.target.name);
      anyChanged = true;
      if (NamingMemoryFailures(entry.target.name, [&] { return Prepare(entry); })) {
        if (OnTargetPlanned) OnTargetPlanned(entry.target.path);
        ++i;
      } else {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    if (!anyChanged) return;
  }
}

void AtomicReplacement::PutBack(std::size_t replaced, const std::string& failedName) {
  std::string notRestored;
  for (std::size_t i = replaced; i-- > 0;) {
    const Entry& entry = entries_[i];
    if (!platform::ReplaceFileContents(entry.target.path, entry.oldBytes.data(), entry.oldBytes.size()))
      notRestored += (notRestored.empty() ? "" : ", ") + ShortenedName(entry.target.name);
  }
  if (!notRestored.empty())
    throw EFCreateError(Format("ファイル %s を置き換えられず、次のファイルを元に戻せませんでした: %s", {ShortenedName(failedName), notRestored}));
  throw EFCreateError(
      Format("ファイル %s を置き換えられなかったため、置き換えたファイルを元に戻しました。どのファイルも変わっていません",
             {ShortenedName(failedName)}));
}

void AtomicReplacement::Commit() {
  // Each folder once, in the one order every run uses.
  std::map<std::string, std::string> folders;
  for (const Entry& entry : entries_) {
    const std::string folder = platform::ReplacementFolder(entry.target.path);
    folders.emplace(platform::FolderLockKey(folder), folder);
  }
  std::vector<platform::FolderLock> locks;
  locks.reserve(folders.size());
  for (const auto& [key, folder] : folders) {
    locks.emplace_back(folder);
    if (!locks.back().Locked()) throw EAbort();
  }
  RedoChanged();
  for (const Entry& entry : entries_) {
    for (int wait = 0; !entry.replacement.CanCommit(); ++wait) {
      if (wait == kHeldFileWaits)
        throw EFCreateError(Format(
            "ファイル %s は置き換えられません (他のプログラムが使用中か、書き込めません)。どのファイルも変わっていません",
            {ShortenedName(entry.target.name)}));
      PauseForHeldFile();
    }
  }
  if (OnAtomicCommit) OnAtomicCommit();
  // Renames only, in list order; a stop asked for now waits until all are done.
  for (std::size_t i = 0; i < entries_.size(); ++i)
    for (int wait = 0; !entries_[i].replacement.Commit(); ++wait) {
      if (wait == kHeldFileWaits) PutBack(i, entries_[i].target.name);
      PauseForHeldFile();
    }
}
