#include "SyncList.h"

#include "Exceptions.h"
#include "Format.h"
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

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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
  const std::string endOfHeader = lines.Count() > 2 ? lines.Get(2) : std::string();
  for (int header = 0; header < 3; ++header) lines.Delete(0);
  // Without its end mark the header may have swallowed the first entry, or
  // the file is no sync list at all.
  if (TrimBlanks(endOfHeader) != "[EOH]")
    throw Exception(Format("ファイル %s は同期リストではありません（3 行目が [EOH] ではありません）", {listFileName}));
  fileList.Clear();
  for (const std::string& entry : lines.Items())
    if (!IsBlankEntry(entry)) fileList.Add(entry);
}

bool IsBlankEntry(const std::string& entry) { return TrimBlanks(entry).empty(); }

void SaveSyncList(const std::string& listFileName, const std::string& variableName,
                  const std::string& sourceFileName, const TStrings& fileList) {
  const std::string lineBreak = platform::kLineBreak;
  std::string text = "変数:" + variableName + lineBreak + "同期ﾌｧｲﾙ:" + sourceFileName + lineBreak + "[EOH]" + lineBreak;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) text += fileList.Get(i) + lineBreak;
  if (!platform::ReplaceFileContents(listFileName, text.data(), text.size())) RaiseFileCreateError(listFileName);
}
