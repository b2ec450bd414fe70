// POSIX file replacement: the new content is written to an unnamed file in
// the target's folder (O_TMPFILE where the file system has it), given the
// target's metadata, linked under a short name that carries our signature
// and renamed over the target. The writer holds a lock (flock) on the file
// until it is renamed or removed: that, not a process id, tells a live
// writer's file from a stale one, also for a run in another PID namespace
// sharing the folder. A kill while the content is written leaves nothing;
// one between link and rename leaves a ".qvl-5e9d1c7b-<pid>-<n>.tmp" that
// the next run in that folder removes.
#include "Platform.h"
#include "PosixDescriptor.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {
namespace {

// The signature: a token no person picks for a name.
constexpr char kTemporaryPrefix[] = ".qvl-5e9d1c7b-";
constexpr char kTemporarySuffix[] = ".tmp";

// The file whose content a name stands for: a symbolic link is followed
// so that the link itself stays in place.
std::string ResolveLinks(const std::string& name) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(name.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : name;
}

// Short whatever the target's name, so that names near the 255-byte limit
// can still be replaced.
std::string TemporaryName(const std::string& folder) {
  static unsigned serial = 0;
  char name[64];
  std::snprintf(name, sizeof name, "%s%ld-%u%s", kTemporaryPrefix, static_cast<long>(::getpid()), ++serial,
                kTemporarySuffix);
  return folder + name;
}

// True for a name made by TemporaryName: the signature, digits, "-",
// digits, the suffix.
bool IsTemporaryName(const char* name) {
  const std::size_t prefix = sizeof kTemporaryPrefix - 1, suffix = sizeof kTemporarySuffix - 1;
  const std::size_t length = std::strlen(name);
  if (length <= prefix + suffix || std::strncmp(name, kTemporaryPrefix, prefix) != 0 ||
      std::strcmp(name + length - suffix, kTemporarySuffix) != 0)
    return false;
  int digits[2] = {0, 0}, part = 0;
  for (const char* p = name + prefix; p < name + length - suffix; ++p) {
    if (*p == '-' && part == 0 && digits[0] > 0) {
      part = 1;
    } else if (*p >= '0' && *p <= '9') {
      ++digits[part];
    } else {
      return false;
    }
  }
  return part == 1 && digits[1] > 0;
}

// Each prepared replacement holds a descriptor until it is committed, and
// a run may prepare thousands at once.
void AllowManyOpenFiles() {
  static const bool raised = [] {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return false;
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
  }();
  (void)raised;
}

mode_t NewFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

// The kernel gives new files its own security labels, and trusted
// attributes need privileges; neither is a user's data.
bool MayLeaveOut(const char* attribute) {
  return std::strncmp(attribute, "security.", 9) == 0 || std::strncmp(attribute, "trusted.", 8) == 0;
}

// Extended attributes, POSIX ACLs among them.
bool CopyExtendedAttributes(const std::string& from, int to) {
  ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
  if (size < 0) return errno == ENOTSUP;
  std::vector<char> names(static_cast<std::size_t>(size) + 1);
  size = ::listxattr(from.c_str(), names.data(), names.size());
  if (size < 0) return false;
  for (const char* name = names.data(); name < names.data() + size; name += std::strlen(name) + 1) {
    ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
    if (length < 0) {
      if (errno == ENODATA) continue;
      return false;
    }
    std::vector<char> value(static_cast<std::size_t>(length) + 1);
    length = ::getxattr(from.c_str(), name, value.data(), value.size());
    if (length < 0) return false;
    if (::fsetxattr(to, name, value.data(), static_cast<std::size_t>(length), 0) != 0 && !MayLeaveOut(name))
      return false;
  }
  return true;
}

bool CopyMetadata(const std::string& from, const struct stat& existing, int to) {
  if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
      ::fchown(to, existing.st_uid, existing.st_gid) != 0) {
    // Giving the file away needs privileges; a member of its group may
    // still keep the group. Where neither is allowed the file becomes ours.
    if (::fchown(to, static_cast<uid_t>(-1), existing.st_gid) != 0) {
    }
  }
  // After the owner: changing it may clear set-id bits.
  return ::fchmod(to, existing.st_mode & 07777) == 0 && CopyExtendedAttributes(from, to);
}

// Gives the unnamed file a name in the folder.
bool LinkUnnamed(int fd, const std::string& name) {
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  return ::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Writes the temporary file for target; `temporary` names it as soon as it
// has a name, so that the caller can remove it whatever fails afterwards,
// and `held` keeps its lock until it is renamed or removed.
bool WriteTemporary(const std::string& target, const char* data, std::size_t size, std::string& temporary,
                    FileDescriptor& held) {
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) return false;
  // Replacing a read-only file by renaming would bypass its protection.
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;

  const std::string folder = ExtractFilePath(target);
  const std::string name = TemporaryName(folder);
  FileDescriptor file(::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  const bool unnamed = file.valid();
  if (!unnamed) {
    file.reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!file.valid()) return false;
    temporary = name;
  }
  // Locked before it has a name, so that no sweep ever sees it unlocked;
  // the lock lives on in a second descriptor after this one is closed.
  if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) return false;
  held.reset(::fcntl(file.get(), F_DUPFD_CLOEXEC, 0));
  if (!held.valid()) return false;
  const bool metadata = exists ? CopyMetadata(target, existing, file.get()) : ::fchmod(file.get(), NewFileMode()) == 0;
  if (!metadata || !WriteAll(file.get(), data, size)) return false;
  if (unnamed) {
    if (!LinkUnnamed(file.get(), name)) return false;
    temporary = name;
  }
  return file.Close();
}

}  // namespace

bool FileReplacement::Prepare(const std::string& name, const char* data, std::size_t size) {
  Discard();
  AllowManyOpenFiles();
  target_ = ResolveLinks(name);
  FileDescriptor held;
  const bool written = WriteTemporary(target_, data, size, temporary_, held);
  handle_ = held.release();
  if (written) return true;
  Discard();
  return false;
}

bool FileReplacement::CanCommit() const {
  if (temporary_.empty() || handle_ < 0) return false;
  // Our file is still there under its name...
  struct stat ours {}, named {};
  if (::fstat(static_cast<int>(handle_), &ours) != 0 || ::lstat(temporary_.c_str(), &named) != 0 ||
      ours.st_dev != named.st_dev || ours.st_ino != named.st_ino)
    return false;
  // ...the folder still takes renames, and the target is still a writable
  // regular file (or none).
  const std::string folder = ExtractFilePath(temporary_);
  struct stat existing {};
  if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) return false;
  if (::stat(target_.c_str(), &existing) != 0) return errno == ENOENT;
  return S_ISREG(existing.st_mode) && ::access(target_.c_str(), W_OK) == 0;
}

bool FileReplacement::Commit() {
  if (temporary_.empty()) return false;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
  temporary_.clear();
  Discard();
  return true;
}

void FileReplacement::Discard() noexcept {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  // Closing the last descriptor releases the lock.
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

std::string ReplacementFolder(const std::string& name) { return ExtractFilePath(ResolveLinks(name)); }

void RemoveStaleTemporaries(const std::string& folder) {
  struct CloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
  };
  const std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (!IsTemporaryName(entry->d_name)) continue;
    const std::string path = folder + entry->d_name;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat held {}, named {};
    if (!file.valid() || ::fstat(file.get(), &held) != 0 || !S_ISREG(held.st_mode)) continue;
    // Its writer, in whatever process or namespace, still holds the lock.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) continue;
    if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
      ::unlink(path.c_str());
  }
}

}  // namespace platform
