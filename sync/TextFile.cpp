#include "TextFile.h"

#include <algorithm>
#include <cstring>

#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "SettledRead.h"

namespace {

const char* EndOfText(const std::string& bytes) {
  const char* const nul = static_cast<const char*>(std::memchr(bytes.data(), '\0', bytes.size()));
  return nul ? nul : bytes.data() + bytes.size();
}

// The next occurrence of c at or after p, or end.
const char* Next(const char* p, const char* end, char c) {
  const char* const found = static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p)));
  return found ? found : end;
}

// Calls onLine(begin, end) for every line of the bytes before the first
// zero byte. Line ends are found with memchr, each kind remembered until
// passed, so that a text without CR costs one search per line.
template <typename OnLine>
void ForEachLine(const std::string& bytes, OnLine onLine) {
  const char* p = bytes.data();
  const char* const end = EndOfText(bytes);
  const char* nextFeed = Next(p, end, '\n');
  const char* nextReturn = Next(p, end, '\r');
  while (p < end) {
    if (nextFeed < p) nextFeed = Next(p, end, '\n');
    if (nextReturn < p) nextReturn = Next(p, end, '\r');
    const char* const lineEnd = std::min(nextFeed, nextReturn);
    onLine(p, lineEnd);
    p = lineEnd;
    if (p < end && *p++ == '\r' && p < end && *p == '\n') ++p;
  }
}

std::string ReadOrRaise(const std::string& fileName) {
  std::string bytes;
  if (!platform::ReadWholeFile(fileName, bytes)) RaiseFileOpenError(fileName);
  return bytes;
}

}  // namespace

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  ForEachLine(bytes, [&](const char* begin, const char* end) { lines.emplace_back(begin, end); });
  return lines;
}

std::string NormaliseLineBreaks(const std::string& bytes) {
  static const std::size_t breakLength = std::strlen(platform::kLineBreak);
  const char* const textEnd = EndOfText(bytes);
  // Where the platform ends lines with LF, a text without CR only needs its
  // last line ended.
  if (breakLength == 1 && Next(bytes.data(), textEnd, '\r') == textEnd) {
    std::string text(bytes.data(), textEnd);
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text;
  }
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 32 + breakLength);
  ForEachLine(bytes, [&](const char* begin, const char* end) {
    text.append(begin, end);
    text.append(platform::kLineBreak, breakLength);
  });
  return text;
}

bool HasNormalLineBreaks(const std::string& bytes) {
  if (bytes.empty()) return true;
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  if (std::memchr(begin, '\0', bytes.size())) return false;
  if (std::strlen(platform::kLineBreak) == 1) return bytes.back() == '\n' && !std::memchr(begin, '\r', bytes.size());
  // CR LF: every CR followed by LF, every LF preceded by CR, one at the end.
  if (bytes.size() < 2 || bytes[bytes.size() - 2] != '\r' || bytes.back() != '\n') return false;
  for (const char* p = Next(begin, end, '\r'); p < end; p = Next(p + 1, end, '\r'))
    if (p + 1 == end || p[1] != '\n') return false;
  for (const char* p = Next(begin, end, '\n'); p < end; p = Next(p + 1, end, '\n'))
    if (p == begin || p[-1] != '\r') return false;
  return true;
}

std::string LoadTextFile(const std::string& fileName) {
  return NormaliseLineBreaks(ReadSettledFile(fileName, fileName).bytes);
}

bool SaveTextFile(const std::string& fileName, const std::string& text) {
  const std::string normalised = NormaliseLineBreaks(text);
  return platform::ReplaceFileContents(fileName, normalised.data(), normalised.size());
}

LineBreakStyle DetectLineBreakStyle(const std::string& bytes) {
  LineBreakStyle style;
  const std::size_t end = std::min(bytes.find('\0'), bytes.size());
  const std::size_t first = bytes.find_first_of("\r\n");
  if (first >= end) {
    style.lineBreak = platform::kLineBreak;
    style.finalBreak = false;
    return style;
  }
  style.lineBreak = bytes[first] == '\r' && first + 1 < end && bytes[first + 1] == '\n' ? "\r\n"
                                                                                       : bytes.substr(first, 1);
  style.finalBreak = bytes[end - 1] == '\r' || bytes[end - 1] == '\n';
  return style;
}

std::string ApplyLineBreakStyle(const std::string& text, const LineBreakStyle& style) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + style.lineBreak.size());
  ForEachLine(text, [&](const char* begin, const char* end) {
    out.append(begin, end);
    out += style.lineBreak;
  });
  if (!style.finalBreak && !out.empty()) out.resize(out.size() - style.lineBreak.size());
  return out;
}

std::vector<std::string> LoadTextLines(const std::string& fileName) { return SplitTextLines(ReadOrRaise(fileName)); }
