// Folder listings through FindFirstFileA (names stay ANSI code-page bytes).
#include "DirectoryListing.h"
#include "Win32Handle.h"

#include <windows.h>

namespace platform {
namespace {

// True when the name ends in "\", "/" or a drive's ":"; a double-byte
// character's trail byte 5C is no delimiter.
bool EndsWithDelimiter(const std::string& name) {
  bool last = false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (::IsDBCSLeadByte(static_cast<BYTE>(name[i])) && i + 1 < name.size()) {
      ++i;
      last = false;
    } else {
      last = name[i] == '\\' || name[i] == '/' || name[i] == ':';
    }
  }
  return last;
}

// What the name leads to once links and junctions are followed.
bool QueryFollowed(const std::string& name, BY_HANDLE_FILE_INFORMATION& info, bool& onDisk) {
  FileHandle file(::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return false;
  onDisk = ::GetFileType(file.get()) == FILE_TYPE_DISK;
  return true;
}

bool IsLinkEntry(const WIN32_FIND_DATAA& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

}  // namespace

bool ListDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  const std::string prefix = folder.empty() || EndsWithDelimiter(folder) ? folder : folder + "\\";
  WIN32_FIND_DATAA data{};
  const FindHandle find(::FindFirstFileA((prefix + "*").c_str(), &data));
  // An empty drive's root has not even "." and "..".
  if (!find.valid()) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    DirectoryEntry entry;
    entry.name = data.cFileName;
    if (entry.name == "." || entry.name == "..") continue;
    entry.isLink = IsLinkEntry(data);
    if (entry.isLink) {
      BY_HANDLE_FILE_INFORMATION info{};
      bool onDisk = false;
      if (QueryFollowed(prefix + entry.name, info, onDisk)) {
        entry.isFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isRegularFile = !entry.isFolder && onDisk;
      }
    } else {
      entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      entry.isRegularFile = !entry.isFolder;
    }
    entries.push_back(std::move(entry));
  } while (::FindNextFileA(find.get(), &data));
  if (::GetLastError() != ERROR_NO_MORE_FILES) {
    entries.clear();
    return false;
  }
  return true;
}

bool IsRegularFile(const std::string& name) {
  BY_HANDLE_FILE_INFORMATION info{};
  bool onDisk = false;
  return QueryFollowed(name, info, onDisk) && onDisk && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace platform
