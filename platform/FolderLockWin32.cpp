// Folder locks between runs: a named mutex per folder (a folder cannot be
// byte-range locked), released by the system if its holder dies.
#include "Platform.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace platform {
namespace {

// The folder's full path in capitals: Windows names ignore case.
std::string FullFolderName(const std::string& folder) {
  const std::string name = folder.empty() ? "." : folder;
  const DWORD needed = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  std::vector<char> buffer(needed + 1);
  const DWORD length = needed ? ::GetFullPathNameA(name.c_str(), needed, buffer.data(), nullptr) : 0;
  std::string full = length > 0 && length < needed ? std::string(buffer.data(), length) : name;
  full = ExcludeTrailingDelimiter(full, 3);
  if (!full.empty()) ::CharUpperBuffA(&full[0], static_cast<DWORD>(full.size()));
  return full;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
  // Mutex names are short; a 64-bit FNV-1a hash of the folder's name stands
  // for it.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : FolderLockKey(folder)) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char name[64];
  std::snprintf(name, sizeof name, "Local\\QuorvelFolder-%016llx", static_cast<unsigned long long>(hash));
  const HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name);
  locked_ = true;
  if (!mutex) return;
  for (;;) {
    const DWORD waited = ::WaitForSingleObject(mutex, 100);
    // An abandoned mutex was held by a run that died: ours now.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) break;
    if (waited != WAIT_TIMEOUT || InterruptSignal() != 0) {
      ::CloseHandle(mutex);
      locked_ = waited != WAIT_TIMEOUT;
      return;
    }
  }
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

FolderLock::~FolderLock() {
  if (handle_ == -1) return;
  const HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

std::string FolderLockKey(const std::string& folder) { return FullFolderName(folder); }

}  // namespace platform
