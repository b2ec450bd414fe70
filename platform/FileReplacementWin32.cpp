// Win32 file replacement: the new content goes to a "qvlXXXX.tmp" file in
// the target's folder, which takes the target's attributes and is then
// renamed over it in one step (MoveFileEx). ReplaceFile is not used: where
// it moves the old file away before moving the new one in, a kill between
// the two loses the target. The temporary file stays open, without sharing,
// until it is renamed, which tells a live writer's file from a stale one.
#include "Platform.h"
#include "Win32Handle.h"

#include <cctype>
#include <cstring>
#include <memory>

namespace platform {
namespace {

constexpr DWORD kCarriedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// "qvl", one to four hexadecimal digits, ".tmp": the names GetTempFileNameA
// makes with our prefix.
bool IsTemporaryName(const char* name) {
  const std::size_t length = std::strlen(name);
  if (length < 8 || length > 11 || _strnicmp(name, "qvl", 3) != 0 || _stricmp(name + length - 4, ".tmp") != 0)
    return false;
  for (const char* p = name + 3; p < name + length - 4; ++p)
    if (!std::isxdigit(static_cast<unsigned char>(*p))) return false;
  return true;
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

  std::string folder = ExtractFilePath(name);
  if (folder.empty()) folder = ".";
  char temporaryName[MAX_PATH + 16];
  if (::GetTempFileNameA(folder.c_str(), "qvl", 0, temporaryName) == 0) return false;
  target_ = name;
  temporary_ = temporaryName;
  // Sharing only deletion lets MoveFileEx rename the file while it is open.
  FileHandle file(::CreateFileA(temporaryName, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() || !WriteAll(file.get(), data, size) || (exists && !CarryAttributes(file.get(), attributes))) {
    file.Close();
    Discard();
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file.release());
  return true;
}

bool FileReplacement::Commit() {
  if (temporary_.empty()) return false;
  if (!::MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Discard();
    return false;
  }
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
  const HANDLE first = ::FindFirstFileA((folder + "qvl*.tmp").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return;
  const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> search(first, ::FindClose);
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsTemporaryName(found.cFileName)) continue;
    // Without any sharing this open fails while a writer holds the file.
    const std::string path = folder + found.cFileName;
    FileHandle stale(::CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  } while (::FindNextFileA(search.get(), &found));
}

}  // namespace platform
