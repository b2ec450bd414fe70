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

// Raises EFOpenError when the file cannot be read.
std::string LoadTextFile(const std::string& fileName);

// Like LoadTextFile, but a file holding a zero byte is refused with an
// Exception naming it: rewriting it would lose everything after that byte.
std::string LoadRewritableTextFile(const std::string& fileName);

// Writes the text normalised; false (file unchanged) when that fails.
bool SaveTextFile(const std::string& fileName, const std::string& text);

// The lines of a file by the rule above; raises EFOpenError when the file
// cannot be read.
std::vector<std::string> LoadTextLines(const std::string& fileName);
