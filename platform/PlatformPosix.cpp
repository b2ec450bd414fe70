// POSIX implementation of the platform services.
#include "Platform.h"
#include "TemporaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

namespace platform {
namespace {

// Closes a descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now, reporting the result (a delayed write error shows here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

LocalTime ToLocalTime(std::time_t seconds) {
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour, parts.tm_min, parts.tm_sec};
}

// The file whose content a name stands for: a symbolic link is followed
// so that the link itself stays in place.
std::string ResolveLinks(const std::string& name) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(name.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : name;
}

}  // namespace

bool FileExists(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::int32_t FileAge(const std::string& name) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return PackDosDateTime(ToLocalTime(info.st_mtime));
}

std::string ExecutablePath() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<std::size_t>(length) < buffer.size())
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
}

std::string GetCurrentDir() {
  std::unique_ptr<char, decltype(&std::free)> dir(::getcwd(nullptr, 0), &std::free);
  return dir ? std::string(dir.get()) : std::string();
}

bool SetCurrentDir(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

bool ForceDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  const std::string path = ExcludeTrailingDelimiter(dir, 1);
  if (DirectoryExists(path)) return true;
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !ForceDirectories(path.substr(0, slash))) return false;
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return DirectoryExists(path);
}

bool RemoveFile(const std::string& name) { return ::unlink(name.c_str()) == 0; }

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  std::string bytes;
  return ReadWholeFile(from, bytes) && ReplaceFileContents(to, bytes.data(), bytes.size());
}

LocalTime Now() { return ToLocalTime(std::time(nullptr)); }

bool ReadWholeFile(const std::string& name, std::string& bytes) {
  FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) return false;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
}

bool ReplaceFileContents(const std::string& name, const char* data, std::size_t size) {
  const std::string target = ResolveLinks(name);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return false;
  // Replacing a read-only file by renaming would bypass its protection.
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;

  const std::string folder = ExtractFilePath(target);
  const std::string base = ExtractFileName(target);
  static unsigned serial = 0;
  static const long pid = static_cast<long>(::getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", pid, ++serial);
    TemporaryFile temporary(folder + "." + base + suffix);
    FileDescriptor file(::open(temporary.name().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.valid()) {
      if (errno == EEXIST) {
        temporary.Release();  // someone else's file: leave it alone
        continue;
      }
      temporary.Release();
      return false;
    }
    if (exists) {
      if (::fchmod(file.get(), existing.st_mode & 07777) != 0) return false;
      // Keeping another owner needs privileges; where they are lacking, a
      // file we may write is enough.
      if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
          ::fchown(file.get(), existing.st_uid, existing.st_gid) != 0) {
      }
    }
    if (!WriteAll(file.get(), data, size) || !file.Close()) return false;
    if (::rename(temporary.name().c_str(), target.c_str()) != 0) return false;
    temporary.Release();
    return true;
  }
  return false;
}

std::string ExpandFileName(const std::string& name, const std::string& baseDir) {
  const std::string joined = (!name.empty() && name[0] == '/') ? name : IncludeTrailingDelimiter(baseDir) + name;
  // Collapse "." and ".." lexically, as a full-path expansion does.
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t end = joined.find('/', start);
    if (end == std::string::npos) end = joined.size();
    const std::string part = joined.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  if (result.empty() || (!joined.empty() && joined.back() == '/')) result += "/";
  return result;
}

}  // namespace platform
