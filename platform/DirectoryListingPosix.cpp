// Folder listings through readdir; the entry's type comes from the listing
// where the file system reports it, so that most entries cost no stat.
#include "DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

void FillFromStat(int folder, const char* name, bool followLink, DirectoryEntry& entry) {
  struct stat info {};
  if (::fstatat(folder, name, &info, followLink ? 0 : AT_SYMLINK_NOFOLLOW) != 0) return;
  if (!followLink && S_ISLNK(info.st_mode)) {
    entry.isLink = true;
    FillFromStat(folder, name, true, entry);
    return;
  }
  entry.isFolder = S_ISDIR(info.st_mode);
  entry.isRegularFile = S_ISREG(info.st_mode);
}

}  // namespace

bool ListDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return false;
  const int descriptor = ::dirfd(dir.get());
  for (;;) {
    // readdir tells its end from an error only through errno.
    errno = 0;
    const dirent* found = ::readdir(dir.get());
    if (!found) break;
    const std::string name = found->d_name;
    if (name == "." || name == "..") continue;
    DirectoryEntry entry;
    entry.name = name;
    switch (found->d_type) {
      case DT_REG:
        entry.isRegularFile = true;
        break;
      case DT_DIR:
        entry.isFolder = true;
        break;
      case DT_LNK:
        entry.isLink = true;
        FillFromStat(descriptor, found->d_name, true, entry);
        break;
      case DT_UNKNOWN:
        FillFromStat(descriptor, found->d_name, false, entry);
        break;
      default:  // devices, pipes, sockets
        break;
    }
    entries.push_back(std::move(entry));
  }
  if (errno != 0) {
    entries.clear();
    return false;
  }
  return true;
}

bool IsRegularFile(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
