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
#include <cstring>
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

namespace {

FileIdentity IdentityOf(const struct stat& info) {
  FileIdentity identity;
  identity.volume = static_cast<std::uint64_t>(info.st_dev);
  identity.index = static_cast<std::uint64_t>(info.st_ino);
  identity.size = static_cast<std::uint64_t>(info.st_size);
  identity.writeTime = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  identity.changeTime = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
  return identity;
}

// True when the file still holds exactly these bytes.
bool SameBytesAgain(int fd, const std::string& bytes) {
  char chunk[65536];
  std::size_t at = 0;
  for (;;) {
    const ssize_t got = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(at));
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return at == bytes.size();
    const auto length = static_cast<std::size_t>(got);
    if (at + length > bytes.size() || std::memcmp(chunk, bytes.data() + at, length) != 0) return false;
    at += length;
  }
}

}  // namespace

bool IdentifyFile(const std::string& name, FileIdentity& identity) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  identity = IdentityOf(info);
  return true;
}

ReadResult ReadWholeFileChecked(const std::string& name, std::string& bytes, FileIdentity& identity) {
  // Only a regular file is opened: opening a tape or a pipe may itself
  // block or have effects, and a device may never end.
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::failed;
  FileDescriptor file(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.valid()) return ReadResult::failed;
  // The name may have been swapped for something else meanwhile.
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::failed;
  const FileIdentity before = IdentityOf(info);
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ReadResult::failed;
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
    if (OnFilePieceRead) OnFilePieceRead(name);
  }
  // Written while read (the handle's file), or replaced by another file
  // under the same name (an editor's save by rename). File times move in
  // clock ticks, so a writer rewriting the file in place within one tick
  // shows only in its bytes: they are read once more and compared.
  if (!SameBytesAgain(file.get(), bytes)) return ReadResult::changed;
  if (::fstat(file.get(), &info) != 0) return ReadResult::failed;
  identity = IdentityOf(info);
  FileIdentity now;
  if (identity != before || !IdentifyFile(name, now) || now != identity)
    return ReadResult::changed;
  return ReadResult::read;
}

bool NamesNothing(const std::string& name) {
  struct stat info {};
  return name.empty() || (::lstat(name.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR));
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
