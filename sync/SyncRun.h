// One run over the targets: the source's regions, the targets, and for each
// target read, plan, and replace (or only report, when comparing).
#pragma once

#include <cstdint>
#include <string>

#include "Platform.h"
#include "SourceRegions.h"
#include "Strings.h"
#include "SyncOptions.h"

struct RunSource {
  SourceRegions regions;
  platform::FileIdentity identity;
};

// Reads the source (relative names counting from the options' base folder)
// and takes its region of the variable, or with allVariables every region
// it holds; raises Exception when it holds none, and tells the hook.
RunSource FindSourceRegions(const std::string& variableName, const std::string& sourceFileName,
                            const TSyncOptions& options);

void Notify(const std::string& fileName, const std::string& command, std::int32_t index);

// A stop asked for (Ctrl+C, SIGTERM, SIGHUP) takes effect between files.
void ThrowIfInterrupted();

// Works on every target of the list, in list order, as the options say;
// with a backup folder each target is first copied into it.
void RunTargets(RunSource& source, const std::string& sourceFileName, const TStrings& fileList,
                const TSyncOptions& options, const TTargetReport& report, const std::string& backupFolder);
