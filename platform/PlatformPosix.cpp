// POSIX implementation of the platform services.
#include "Platform.h"
#include "PosixDescriptor.h"

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

LocalTime ToLocalTime(std::time_t seconds) {
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour, parts.tm_min, parts.tm_sec};
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

bool FileWriteTime(const std::string& name, std::int64_t& time) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  time = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return true;
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
  // Only a regular file is opened: opening a tape or a pipe may itself
  // block or have effects, and a device may never end.
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  FileDescriptor file(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.valid()) return false;
  // The name may have been swapped for something else meanwhile.
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
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
