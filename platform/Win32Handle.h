// A Win32 file handle closed on every path out.
#pragma once

#include <windows.h>

namespace platform {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  bool Close() {
    const HANDLE handle = release();
    return handle == INVALID_HANDLE_VALUE || handle == nullptr || ::CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE handle_;
};

// True when the name opens a file on a disk, not a device such as NUL,
// CON or COM1, nor a pipe.
bool IsDiskFile(const char* name);

}  // namespace platform
