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

// A FindFirstFile search closed on every path out.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (valid()) ::FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// True when the name opens a file on a disk, not a device such as NUL,
// CON or COM1, nor a pipe.
bool IsDiskFile(const char* name);

}  // namespace platform
