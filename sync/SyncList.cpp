#include "SyncList.h"

#include "Exceptions.h"
#include "Platform.h"
#include "TextFile.h"

namespace {

constexpr std::size_t kMaxHeaderValue = 999;

// The text after the first colon, or the whole line without one.
std::string HeaderValue(const std::string& line) {
  const std::size_t colon = line.find(':');
  const std::size_t start = colon == std::string::npos ? 0 : colon + 1;
  return line.substr(start, kMaxHeaderValue);
}

}  // namespace

void LoadSyncList(const std::string& listFileName, std::string& variableName, std::string& sourceFileName,
                  TStrings& fileList) {
  variableName.clear();
  sourceFileName.clear();
  TStringList lines;
  for (const std::string& line : LoadTextLines(listFileName)) lines.Add(line);
  // Each value is stored as soon as its line is read; a short file then
  // fails at the first missing line.
  variableName = HeaderValue(lines.Get(0));
  sourceFileName = HeaderValue(lines.Get(1));
  for (int header = 0; header < 3; ++header) lines.Delete(0);
  fileList.Clear();
  for (const std::string& entry : lines.Items()) fileList.Add(entry);
}

void SaveSyncList(const std::string& listFileName, const std::string& variableName,
                  const std::string& sourceFileName, const TStrings& fileList) {
  const std::string lineBreak = platform::kLineBreak;
  std::string text = "変数:" + variableName + lineBreak + "同期ﾌｧｲﾙ:" + sourceFileName + lineBreak + "[EOH]" + lineBreak;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) text += fileList.Get(i) + lineBreak;
  if (!platform::ReplaceFileContents(listFileName, text.data(), text.size())) RaiseFileCreateError(listFileName);
}
