// Win32 file replacement: the new content goes to a
// "qvl-5e9d1c7b-<pid>-<n>.tmp" file in the target's folder (the token is
// the signature that tells our temporaries from a user's files), which takes the target's attributes and is then
// renamed over it in one step (MoveFileEx). ReplaceFile is not used: where
// it moves the old file away before moving the new one in, a kill between
// the two loses the target. The temporary file stays open, without sharing,
// until it is renamed, which tells a live writer's file from a stale one.
#include "Platform.h"
#include "Win32Handle.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

constexpr DWORD kCarriedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

constexpr char kTemporaryPrefix[] = "qvl-5e9d1c7b-";
constexpr char kTemporarySuffix[] = ".tmp";

// The signature, digits, "-", digits, the suffix: only names we make.
bool IsTemporaryName(const char* name) {
  const std::size_t prefix = sizeof kTemporaryPrefix - 1, suffix = sizeof kTemporarySuffix - 1;
  const std::size_t length = std::strlen(name);
  if (length <= prefix + suffix || _strnicmp(name, kTemporaryPrefix, prefix) != 0 ||
      _stricmp(name + length - suffix, kTemporarySuffix) != 0)
    return false;
  int digits[2] = {0, 0}, part = 0;
  for (const char* p = name + prefix; p < name + length - suffix; ++p) {
    if (*p == '-' && part == 0 && digits[0] > 0) {
      part = 1;
    } else if (std::isdigit(static_cast<unsigned char>(*p))) {
      ++digits[part];
    } else {
      return false;
    }
  }
  return part == 1 && digits[1] > 0;
}

// Creates a new temporary file in the folder, open for writing and shared
// only for deletion (so that MoveFileEx can rename it while it is open).
HANDLE CreateTemporary(const std::string& folder, std::string& name) {
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char file[64];
    std::snprintf(file, sizeof file, "%s%lu-%u%s", kTemporaryPrefix, ::GetCurrentProcessId(), ++serial,
                  kTemporarySuffix);
    name = folder + file;
    const HANDLE handle = ::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD piece = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file, data, piece, &written, nullptr) || written != piece) return false;
    data += written;
    size -= written;
  }
  return true;
}

bool CarryAttributes(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO info{};
  info.FileAttributes = attributes & kCarriedAttributes;
  return info.FileAttributes == 0 || ::SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info) != FALSE;
}

}  // namespace

bool FileReplacement::Prepare(const std::string& name, const char* data, std::size_t size) {
  Discard();
  const DWORD attributes = ::GetFileAttributesA(name.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) || !IsDiskFile(name.c_str())))
    return false;

  std::string temporaryName;
  FileHandle file(CreateTemporary(ExtractFilePath(name), temporaryName));
  if (!file.valid()) return false;
  target_ = name;
  temporary_ = temporaryName;
  if (!WriteAll(file.get(), data, size) || (exists && !CarryAttributes(file.get(), attributes))) {
    file.Close();
    Discard();
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file.release());
  return true;
}

bool FileReplacement::CanCommit() const {
  if (temporary_.empty() || handle_ == -1) return false;
  const DWORD attributes = ::GetFileAttributesA(target_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
  // A rename over the file needs it opened for deletion: a viewer or a
  // scanner holding it without sharing deletion forbids that.
  FileHandle probe(::CreateFileA(target_.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  return probe.valid();
}

bool FileReplacement::Commit() {
  if (temporary_.empty()) return false;
  if (!::MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  temporary_.clear();
  // A delayed write error shows here; the content is in place either way.
  ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
  return true;
}

void FileReplacement::Discard() noexcept {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
  if (!temporary_.empty()) ::DeleteFileA(temporary_.c_str());
  temporary_.clear();
}

std::string ReplacementFolder(const std::string& name) { return ExtractFilePath(name); }

void RemoveStaleTemporaries(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const FindHandle search(::FindFirstFileA((folder + kTemporaryPrefix + "*" + kTemporarySuffix).c_str(), &found));
  if (!search.valid()) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsTemporaryName(found.cFileName)) continue;
    // Without any sharing this open fails while a writer holds the file.
    const std::string path = folder + found.cFileName;
    FileHandle stale(::CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  } while (::FindNextFileA(search.get(), &found));
}

}  // namespace platform
