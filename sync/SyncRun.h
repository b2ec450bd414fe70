// One run over the targets: the source's region, the targets, and for each
// target read, plan, and replace (or only report, when comparing).
#pragma once

#include <cstdint>
#include <string>

#include "Platform.h"
#include "RegionWriter.h"
#include "Strings.h"
#include "SyncOptions.h"

// The source's region, read from the file that the base folder and the
// name give; raises Exception when it holds none, and tells the hook.
struct SourceRegion {
  RegionWriter writer;
  platform::FileIdentity identity;
};
SourceRegion FindSourceRegion(const std::string& variableName, const std::string& sourceFileName,
                              const std::string& baseFolder);

void Notify(const std::string& fileName, const std::string& command, std::int32_t index);

// A stop asked for (Ctrl+C, SIGTERM, SIGHUP) takes effect between files.
void ThrowIfInterrupted();

// Works on every target of the list, in list order, as the options say;
// with a backup folder each target is first copied into it.
void RunTargets(const SourceRegion& source, const std::string& sourceFileName, const TStrings& fileList,
                const TSyncOptions& options, const TTargetReport& report, const std::string& backupFolder);
