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
// when it cannot be read, kept changing while read or stayed held, and
// EOutOfMemory when it does not fit into memory.
SettledFile ReadSettledFile(const std::string& fileName, const std::string& path);

// How often a run reads or replaces a file that keeps changing under it
// before it gives up.
inline constexpr int kChangedFileAttempts = 5;

// Another program may hold a file for a moment (another run reading or
// replacing it, an indexer, a scanner), which on Windows keeps others from
// reading or replacing it: an attempt is repeated after a short pause,
// kHeldFileWaits times (about half a second in all).
inline constexpr int kHeldFileWaits = 20;
void PauseForHeldFile();
