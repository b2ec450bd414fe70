// Whole-file text reading and writing. Lines end at CR LF, a lone CR or a
// lone LF; the text ends at the first zero byte. Texts handed out and
// written carry the platform's line break after every line.
#pragma once

#include <string>
#include <vector>

// The bytes up to the first zero byte, split into lines (line ends removed).
std::vector<std::string> SplitTextLines(const std::string& bytes);

// The bytes up to the first zero byte with the platform's line break after
// every line, the last one included.
std::string NormaliseLineBreaks(const std::string& bytes);

// True when the bytes already are what NormaliseLineBreaks makes of them,
// so that a run need not copy them.
bool HasNormalLineBreaks(const std::string& bytes);

// Raises EFOpenError when the file cannot be read.
std::string LoadTextFile(const std::string& fileName);

// Writes the text normalised; false (file unchanged) when that fails.
bool SaveTextFile(const std::string& fileName, const std::string& text);

// The lines of a file by the rule above; raises EFOpenError when the file
// cannot be read.
std::vector<std::string> LoadTextLines(const std::string& fileName);

// How a file ends its lines: the bytes of its first line break (CR LF, LF
// or a lone CR; the platform's when it has none) and whether its last line
// ends with one.
struct LineBreakStyle {
  std::string lineBreak;
  bool finalBreak = true;
};
LineBreakStyle DetectLineBreakStyle(const std::string& bytes);

// The lines of a text (by the rule above) ended with the style's break,
// the last one only when the style says so.
std::string ApplyLineBreakStyle(const std::string& text, const LineBreakStyle& style);
