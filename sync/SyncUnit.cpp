#include "SyncUnit.h"

#include <cstdio>

#include "Exceptions.h"
#include "Format.h"
#include "PatternEscape.h"
#include "Platform.h"
#include "SyncRun.h"
#include "TargetList.h"

namespace {

// The comment lead-in is only the comment that encloses the opening marker
// (no "-->" between its "<!--" and the marker), and the lead-out only the
// one that encloses the closing marker (no "<!--" before its "-->"), so
// that text beside the markers on their lines is never taken into the
// region. The name is inserted as escaped text. The closing keyword is
// "close" or "ここまで" in UTF-8, Shift_JIS or EUC-JP bytes, written as
// escapes so that the Windows build's execution character set leaves them
// as they are; a page in any of the three closes its region.
const char kMatchTemplate[] =
    "m/(<!--(?:(?!-->).)*?)?%%(%s)%%((.|\\n)*?)%%"
    "(close|\xE3\x81\x93\xE3\x81\x93\xE3\x81\xBE\xE3\x81\xA7|\x82\xB1\x82\xB1\x82\xDC\x82\xC5|"
    "\xA4\xB3\xA4\xB3\xA4\xDE\xA4\xC7) \\2%%((?:(?!<!--).)*?-->)?/k";
const char kSubstTemplate[] =
    "s/(<!--(?:(?!-->).)*?)?%%(%s)%%((.|\\n)*?)%%"
    "(close|\xE3\x81\x93\xE3\x81\x93\xE3\x81\xBE\xE3\x81\xA7|\x82\xB1\x82\xB1\x82\xDC\x82\xC5|"
    "\xA4\xB3\xA4\xB3\xA4\xDE\xA4\xC7) \\2%%((?:(?!<!--).)*?-->)?/%1:s/k";

std::string ComputeAppDir() {
  return platform::IncludeTrailingDelimiter(platform::ExtractFilePath(platform::ExecutablePath()));
}

}  // namespace

std::string AppDir = ComputeAppDir();
TSyncProgress OnSyncProgress = nullptr;

std::string BuildMatchCommand(const std::string& variableName) {
  return Format(kMatchTemplate, {EscapePatternText(variableName)});
}

std::string BuildSubstCommand(const std::string& variableName, const std::string& escapedRegion) {
  return Format(kSubstTemplate, {EscapePatternText(variableName), escapedRegion});
}

std::string BackupFolderName(const std::string& sourceFileName) {
  const platform::LocalTime now = platform::Now();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%02d%02d", now.year % 100, now.month, now.day, now.hour,
                now.minute);
  return platform::ExtractFilePath(sourceFileName) + "BackUp" + stamp + platform::kPathDelimiter;
}

void SyncVariable(const std::string& variableName, const std::string& sourceFileName, const TStrings& fileList,
                  bool makeBackups) {
  RunSource source = FindSourceRegions(variableName, sourceFileName, TSyncOptions());

  std::string backupFolder;
  if (makeBackups) {
    backupFolder = BackupFolderName(sourceFileName);
    if (!platform::ForceDirectories(backupFolder) || !platform::DirectoryExists(backupFolder))
      throw Exception("バックアップフォルダが作成できません");
  }

  RunTargets(source, sourceFileName, fileList, TSyncOptions(), nullptr, backupFolder);
}

void SyncVariableWithOptions(const std::string& variableName, const std::string& sourceFileName,
                             const TStrings& fileList, const TSyncOptions& options, const TTargetReport& report) {
  RunSource source = FindSourceRegions(variableName, sourceFileName, options);
  RunTargets(source, sourceFileName, fileList, options, report, std::string());
}

std::int32_t FindNewestFile(const TStrings& fileList, const std::string& baseFolder) {
  // Full-resolution times: the packed date's two-second steps would not
  // tell an edit made a second after another, and from 2044 on it turns
  // negative.
  bool found = false;
  std::int64_t bestTime = 0;
  std::int32_t newest = 0;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) {
    std::int64_t time = 0;
    if (platform::FileWriteTime(ResolveEntry(fileList.Get(i), baseFolder), time) && (!found || time > bestTime)) {
      found = true;
      bestTime = time;
      newest = i;
    }
  }
  return newest;
}
