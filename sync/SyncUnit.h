// The synchronisation engine: copies one variable region from a source
// file over the first region of the same name in every other listed file.
//
// A region: an opening marker "%NAME%", content, and a closing marker
// "%close NAME%" or "%ここまで NAME%"; an "<!--" before the opening marker
// on its line and a "-->" after the closing marker on its line belong to it.
#pragma once

#include <cstdint>
#include <string>

#include "Strings.h"
#include "SyncList.h"
#include "TextFile.h"

// Progress hook: (file name, command text, index in the list; -1 for the
// source file once its region has been found).
using TSyncProgress = void (*)(const std::string& fileName, const std::string& command, std::int32_t index);

// Directory of the running program, ending in a path delimiter.
extern std::string AppDir;
// Called by SyncVariable when set; no hook at start-up.
extern TSyncProgress OnSyncProgress;

// Copies the source file's first region named variableName over the first
// region of that name in every listed file except the source file itself
// (compared byte for byte). Raises on the first failure; files already
// rewritten stay rewritten.
void SyncVariable(const std::string& variableName, const std::string& sourceFileName, const TStrings& fileList,
                  bool makeBackups);

// Index of the entry whose file was written last (0 when none exists);
// relative names count from baseFolder ("" for the current folder).
std::int32_t FindNewestFile(const TStrings& fileList, const std::string& baseFolder = std::string());

// The commands a run uses, as the progress hook sees them.
std::string BuildMatchCommand(const std::string& variableName);
std::string BuildSubstCommand(const std::string& variableName, const std::string& escapedRegion);

// "<source folder>BackUp<yymmddhhnn><delimiter>"
std::string BackupFolderName(const std::string& sourceFileName);
