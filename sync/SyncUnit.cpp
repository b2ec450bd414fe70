#include "SyncUnit.h"

#include <cstdio>
#include <set>

#include "BRegExp.h"
#include "Exceptions.h"
#include "Format.h"
#include "PatternEscape.h"
#include "Platform.h"
#include "ReplacementEscape.h"

namespace {

// The comment lead-in is only the comment that encloses the opening marker
// (no "-->" between its "<!--" and the marker), and the lead-out only the
// one that encloses the closing marker (no "<!--" before its "-->"), so
// that text beside the markers on their lines is never taken into the
// region. The name is inserted as escaped text.
const char kMatchTemplate[] =
    "m/(<!--(?:(?!-->).)*?)?%%(%s)%%((.|\\n)*?)%%(close|ここまで) \\2%%((?:(?!<!--).)*?-->)?/k";
const char kSubstTemplate[] =
    "s/(<!--(?:(?!-->).)*?)?%%(%s)%%((.|\\n)*?)%%(close|ここまで) \\2%%((?:(?!<!--).)*?-->)?/%1:s/k";

std::string ComputeAppDir() {
  return platform::IncludeTrailingDelimiter(platform::ExtractFilePath(platform::ExecutablePath()));
}

// Replaces a target's first region through the library's substitution when
// the region can be written as a replacement, else by splicing the bytes at
// the place where the same pattern matches.
class RegionWriter {
 public:
  RegionWriter(const std::string& variableName, std::string region)
      : matchCommand_(BuildMatchCommand(variableName)), region_(std::move(region)) {
    viaSubstitution_ = EscapeReplacementText(region_, escaped_);
    substCommand_ = BuildSubstCommand(variableName, escaped_);
  }
  const std::string& Command() const { return substCommand_; }

  void Apply(std::string& text) const {
    TBRegExp& regExp = RegExp();
    if (viaSubstitution_) {
      regExp.Subst(substCommand_, text);
    } else if (!text.empty() && regExp.Match(matchCommand_, text)) {
      text.replace(regExp.Position(0), regExp.Length(0), region_);
    }
  }

 private:
  std::string matchCommand_;
  std::string region_;
  std::string escaped_;
  std::string substCommand_;
  bool viaSubstitution_ = true;
};

void Notify(const std::string& fileName, const std::string& command, std::int32_t index) {
  if (OnSyncProgress) OnSyncProgress(fileName, command, index);
}

// Temporary files that killed runs left are removed from each folder the
// run writes into, once, before the first file there is replaced.
class StaleTemporarySweep {
 public:
  void Before(const std::string& fileName) {
    const std::string folder = platform::ReplacementFolder(fileName);
    if (swept_.insert(folder).second) platform::RemoveStaleTemporaries(folder);
  }

 private:
  std::set<std::string> swept_;
};

}  // namespace

std::string AppDir = ComputeAppDir();
TSyncProgress OnSyncProgress = nullptr;

std::string BuildMatchCommand(const std::string& variableName) {
  return Format(kMatchTemplate, {EscapePatternText(variableName)});
}

std::string BuildSubstCommand(const std::string& variableName, const std::string& escapedRegion) {
  return Format(kSubstTemplate, {EscapePatternText(variableName), escapedRegion});
}

void ThrowIfInterrupted() {
  if (platform::InterruptSignal() != 0) throw EAbort();
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
  const std::string matchCommand = BuildMatchCommand(variableName);
  const std::string source = LoadTextFile(sourceFileName);
  TBRegExp& regExp = RegExp();
  if (!regExp.Match(matchCommand, source) || regExp.Count() < 1) throw Exception("変数が発見できませんでした。");
  const RegionWriter writer(variableName, regExp.Strings(0));

  Notify(sourceFileName, matchCommand, -1);

  std::string backupFolder;
  if (makeBackups) {
    backupFolder = BackupFolderName(sourceFileName);
    if (!platform::ForceDirectories(backupFolder) || !platform::DirectoryExists(backupFolder))
      throw Exception("バックアップフォルダが作成できません");
  }

  StaleTemporarySweep sweep;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) {
    const std::string entry = fileList.Get(i);
    if (entry == sourceFileName || IsBlankEntry(entry)) continue;
    // A stop asked for while the previous file was written takes effect
    // here, with that file complete.
    ThrowIfInterrupted();
    Notify(entry, writer.Command(), i);
    if (makeBackups) platform::CopyFileReplacing(entry, backupFolder + platform::ExtractFileName(entry));
    std::string text = LoadRewritableTextFile(entry);
    writer.Apply(text);
    sweep.Before(entry);
    if (!SaveTextFile(entry, text)) RaiseFileCreateError(entry);
  }
}

std::int32_t FindNewestFile(const TStrings& fileList) {
  // Full-resolution times: the packed date's two-second steps would not
  // tell an edit made a second after another, and from 2044 on it turns
  // negative.
  bool found = false;
  std::int64_t bestTime = 0;
  std::int32_t newest = 0;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) {
    std::int64_t time = 0;
    if (platform::FileWriteTime(fileList.Get(i), time) && (!found || time > bestTime)) {
      found = true;
      bestTime = time;
      newest = i;
    }
  }
  return newest;
}
