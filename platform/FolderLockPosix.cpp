// Folder locks between runs: flock on the folder itself, which every
// run can open, so no lock file is ever left behind.
#include "Platform.h"
#include "PosixDescriptor.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace platform {

FolderLock::FolderLock(const std::string& folder) {
  FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // A folder that cannot be opened or locked (some network file systems)
  // is replaced in unlocked: the check right before the rename still holds.
  locked_ = true;
  if (!dir.valid()) return;
  while (::flock(dir.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return;
    if (InterruptSignal() != 0) {
      locked_ = false;
      return;
    }
  }
  handle_ = dir.get();
  dir.release();
}

FolderLock::~FolderLock() {
  // Closing the descriptor releases the lock.
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::string FolderLockKey(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &info) != 0) return "~" + folder;
  char key[40];
  std::snprintf(key, sizeof key, "%016llx:%016llx", static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  return key;
}

}  // namespace platform
