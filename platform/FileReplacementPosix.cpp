// POSIX file replacement: the new content is written to an unnamed file in
// the target's folder (O_TMPFILE where the file system has it), given the
// target's metadata, linked under a short recognisable name and renamed
// over the target. A kill while the content is written leaves nothing; one
// between link and rename leaves a ".qvl<pid>-<n>.tmp" that the next run
// in that folder removes.
#include "Platform.h"
#include "PosixDescriptor.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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

constexpr char kTemporaryPrefix[] = ".qvl";
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
// can still be replaced; the writer's process id tells when it is stale.
std::string TemporaryName(const std::string& folder) {
  static unsigned serial = 0;
  char name[64];
  std::snprintf(name, sizeof name, "%s%ld-%u%s", kTemporaryPrefix, static_cast<long>(::getpid()), ++serial,
                kTemporarySuffix);
  return folder + name;
}

// The writer's process id in a name made by TemporaryName, or 0 for any
// other name.
long TemporaryOwner(const char* name) {
  const std::size_t prefix = sizeof kTemporaryPrefix - 1, suffix = sizeof kTemporarySuffix - 1;
  const std::size_t length = std::strlen(name);
  if (length <= prefix + suffix || std::strncmp(name, kTemporaryPrefix, prefix) != 0 ||
      std::strcmp(name + length - suffix, kTemporarySuffix) != 0)
    return 0;
  long owner = 0;
  int ownerDigits = 0, serialDigits = 0;
  bool dash = false;
  for (const char* p = name + prefix; p < name + length - suffix; ++p) {
    if (*p == '-' && !dash && ownerDigits > 0) {
      dash = true;
    } else if (*p >= '0' && *p <= '9' && !dash) {
      if (++ownerDigits > 9) return 0;
      owner = owner * 10 + (*p - '0');
    } else if (*p >= '0' && *p <= '9') {
      ++serialDigits;
    } else {
      return 0;
    }
  }
  return dash && serialDigits > 0 ? owner : 0;
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
// has a name, so that the caller can remove it whatever fails afterwards.
bool WriteTemporary(const std::string& target, const char* data, std::size_t size, std::string& temporary) {
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
  target_ = ResolveLinks(name);
  if (WriteTemporary(target_, data, size, temporary_)) return true;
  Discard();
  return false;
}

bool FileReplacement::Commit() {
  if (temporary_.empty()) return false;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void FileReplacement::Discard() noexcept {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

std::string ReplacementFolder(const std::string& name) { return ExtractFilePath(ResolveLinks(name)); }

void RemoveStaleTemporaries(const std::string& folder) {
  struct CloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
  };
  const std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return;
  const long self = static_cast<long>(::getpid());
  while (const dirent* entry = ::readdir(dir.get())) {
    const long owner = TemporaryOwner(entry->d_name);
    if (owner <= 0 || owner == self) continue;
    if (::kill(static_cast<pid_t>(owner), 0) == 0 || errno == EPERM) continue;  // its writer still runs
    const std::string path = folder + entry->d_name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path.c_str());
  }
}

}  // namespace platform
