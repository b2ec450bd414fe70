#include "TargetList.h"

#include <set>
#include <utility>

#include "PatternEntry.h"
#include "SyncList.h"

std::string ResolveEntry(const std::string& name, const std::string& baseFolder) {
  return baseFolder.empty() || !platform::IsRelativePath(name) ? name : baseFolder + name;
}

TargetSet CollectTargets(const TStrings& fileList, const std::string& sourceFileName,
                         const platform::FileIdentity& source, const std::string& baseFolder) {
  TargetSet set;
  std::set<std::pair<std::uint64_t, std::uint64_t>> named{{source.volume, source.index}};
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) {
    std::string entry = fileList.Get(i);
    if (entry == sourceFileName || IsBlankEntry(entry)) continue;
    if (IsPatternEntry(entry, baseFolder)) {
      set.patterns.push_back(i);
      for (FoundFile& file : ExpandPatternEntry(entry, baseFolder))
        if (named.insert({file.identity.volume, file.identity.index}).second)
          set.targets.push_back({i, std::move(file.name), std::move(file.path), true});
      continue;
    }
    std::string path = ResolveEntry(entry, baseFolder);
    platform::FileIdentity identity;
    if (platform::IdentifyFile(path, identity)) {
      if (identity.SameFile(source)) continue;
      named.insert({identity.volume, identity.index});
    }
    set.targets.push_back({i, std::move(entry), std::move(path), false});
  }
  return set;
}
