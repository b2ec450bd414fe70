#include "TargetList.h"

#include "SyncList.h"

std::string ResolveEntry(const std::string& name, const std::string& baseFolder) {
  return baseFolder.empty() || !platform::IsRelativePath(name) ? name : baseFolder + name;
}

std::vector<Target> CollectTargets(const TStrings& fileList, const std::string& sourceFileName,
                                   const platform::FileIdentity& source, const std::string& baseFolder) {
  std::vector<Target> targets;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) {
    std::string entry = fileList.Get(i);
    if (entry == sourceFileName || IsBlankEntry(entry)) continue;
    std::string path = ResolveEntry(entry, baseFolder);
    platform::FileIdentity identity;
    if (platform::IdentifyFile(path, identity) && identity.SameFile(source)) continue;
    targets.push_back({i, std::move(entry), std::move(path)});
  }
  return targets;
}
