// Win32 implementation of the platform services (ANSI "A" functions, so
// names stay bytes of the ANSI code page).
#include "Platform.h"
#include "Win32Handle.h"

#include <windows.h>

#include <vector>

namespace platform {
namespace {

// Restores the process's current directory when it goes out of scope.
class CurrentDirGuard {
 public:
  CurrentDirGuard() : saved_(GetCurrentDir()) {}
  ~CurrentDirGuard() { SetCurrentDir(saved_); }
  CurrentDirGuard(const CurrentDirGuard&) = delete;
  CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

 private:
  std::string saved_;
};

DWORD Attributes(const std::string& name) { return ::GetFileAttributesA(name.c_str()); }

LocalTime FromSystemTime(const SYSTEMTIME& t) {
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

bool FileExists(const std::string& name) {
  const DWORD attributes = Attributes(name);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& name) {
  const DWORD attributes = Attributes(name);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::int32_t FileAge(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  FILETIME local{};
  WORD date = 0, time = 0;
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToDosDateTime(&local, &date, &time))
    return -1;
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(date) << 16) | time);
}

bool FileWriteTime(const std::string& name, std::int64_t& time) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsDiskFile(name.c_str()))
    return false;
  time = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                   data.ftLastWriteTime.dwLowDateTime);
  return true;
}

bool IsDiskFile(const char* name) {
  FileHandle file(::CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  return file.valid() && ::GetFileType(file.get()) == FILE_TYPE_DISK;
}

std::string ExecutablePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string GetCurrentDir() {
  const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::string();
  std::vector<char> buffer(needed);
  const DWORD length = ::GetCurrentDirectoryA(needed, buffer.data());
  return std::string(buffer.data(), length < needed ? length : 0);
}

bool SetCurrentDir(const std::string& dir) { return ::SetCurrentDirectoryA(dir.c_str()) != FALSE; }

bool ForceDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  const std::string path = ExcludeTrailingDelimiter(dir, 3);
  if (DirectoryExists(path)) return true;
  const std::string parent = ExtractFilePath(path);
  if (!parent.empty() && parent != path && parent.size() < path.size()) {
    const std::string trimmed = ExcludeTrailingDelimiter(parent, 3);
    if (trimmed != path && !DirectoryExists(trimmed) && !ForceDirectories(trimmed)) return false;
  }
  ::CreateDirectoryA(path.c_str(), nullptr);
  return DirectoryExists(path);
}

bool RemoveFile(const std::string& name) { return ::DeleteFileA(name.c_str()) != FALSE; }

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

LocalTime Now() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return FromSystemTime(now);
}

namespace {

std::int64_t FileTimeCount(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

bool IdentityOf(HANDLE file, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return false;
  identity.volume = info.dwVolumeSerialNumber;
  identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  identity.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  identity.writeTime = FileTimeCount(info.ftLastWriteTime);
  // The change time also moves when a file is replaced by one with the
  // same size and write time.
  FILE_BASIC_INFO basic{};
  identity.changeTime = ::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)
                            ? basic.ChangeTime.QuadPart
                            : 0;
  return true;
}

}  // namespace

bool IdentifyFile(const std::string& name, FileIdentity& identity) {
  FileHandle file(::CreateFileA(name.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  return file.valid() && ::GetFileType(file.get()) == FILE_TYPE_DISK && IdentityOf(file.get(), identity);
}

ReadResult ReadWholeFileChecked(const std::string& name, std::string& bytes, FileIdentity& identity) {
  FileHandle file(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? ReadResult::held : ReadResult::failed;
  }
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) return ReadResult::failed;
  FileIdentity before;
  if (!IdentityOf(file.get(), before)) return ReadResult::failed;
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(before.size));
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return ReadResult::failed;
    if (got == 0) break;
    bytes.append(chunk, got);
    if (OnFilePieceRead) OnFilePieceRead(name);
  }
  if (!IdentityOf(file.get(), identity)) return ReadResult::failed;
  // Other writers are kept out while the file is open, but one that held
  // it already may have written meanwhile.
  FileIdentity now;
  if (identity != before || !IdentifyFile(name, now) || now != identity) return ReadResult::changed;
  return ReadResult::read;
}

bool NamesNothing(const std::string& name) {
  if (name.empty()) return true;
  FileHandle file(::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (file.valid()) return false;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::string ExpandFileName(const std::string& name, const std::string& baseDir) {
  CurrentDirGuard restore;
  SetCurrentDir(baseDir);
  const DWORD needed = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return name;
  std::vector<char> buffer(needed);
  const DWORD length = ::GetFullPathNameA(name.c_str(), needed, buffer.data(), nullptr);
  return length > 0 && length < needed ? std::string(buffer.data(), length) : name;
}

}  // namespace platform
