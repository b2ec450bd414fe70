// Text conversion through the operating system's own converters: iconv in
// the C library natively, MultiByteToWideChar / WideCharToMultiByte in the
// Windows build. Both implement Microsoft's CP932 mapping for Shift_JIS.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class CodePage {
  Utf8,
  ShiftJis,   // code page 932
  FileNames,  // what the file API takes: the ANSI code page on Windows, UTF-8 elsewhere
};

// Converts a whole text strictly: false when a byte sequence is no
// character of `from`, or when a character has no counterpart of its own in
// `to` (no best-fit look-alike, no default character); `out` is
// unspecified then.
bool ConvertCodePage(std::string_view text, CodePage from, CodePage to, std::string& out);

// True when the file API takes names in the given code page, so that names
// in it need no conversion.
bool FileNamesUse(CodePage page);

}  // namespace platform
