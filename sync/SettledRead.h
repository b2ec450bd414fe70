// Reading a whole file that nobody is writing: a read that raced a writer
// (an editor saving in place, or by a new file and a rename) is repeated,
// so that a run never works on half old, half new bytes.
#pragma once

#include <string>

#include "Platform.h"

struct SettledFile {
  std::string bytes;
  platform::FileIdentity identity;  // what was read, to tell later whether it changed
};

// fileName names the file in messages, path opens it. Raises EFOpenError
// when it cannot be read or kept changing while read, and EOutOfMemory
// when it does not fit into memory.
SettledFile ReadSettledFile(const std::string& fileName, const std::string& path);

// How often a run reads or replaces a file that keeps changing under it
// before it gives up.
inline constexpr int kChangedFileAttempts = 5;
