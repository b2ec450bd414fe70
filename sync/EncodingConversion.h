// Conversion between UTF-8, Shift_JIS (CP932) and EUC-JP, and of a list's
// names into what the file API takes. Shift_JIS goes through the system's
// converter (platform/CodePageConversion.h), EUC-JP through Shift_JIS
// (sync/EucJp.h). A character converts only when it comes back unchanged,
// so look-alikes (U+00A5 for "\", U+301C for U+FF5E, ...) are refused in
// both builds alike, and CP932's user-defined characters are no text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "TextEncoding.h"

// Why a text did not convert.
struct ConversionFault {
  enum class Kind {
    Undecodable,      // the input holds bytes that are no character of its encoding
    Unrepresentable,  // the target encoding has no place for a character
  };
  Kind kind;
  std::size_t offset = 0;  // Undecodable: where those bytes start in the input
  char32_t character = 0;  // Unrepresentable: the character (its code point)
};

struct ConvertedText {
  std::string text;  // the whole converted text, when there is no fault
  std::optional<ConversionFault> fault;
};

// From UTF-8, Shift_JIS, EUC-JP or UTF-16 (no byte-order mark) into UTF-8,
// Shift_JIS or EUC-JP. The same encoding on both sides, Any or Unknown on
// either, gives the text unchanged.
ConvertedText ConvertText(std::string_view text, TextEncoding from, TextEncoding to);

// A name in the given encoding as the file API takes it (the ANSI code page
// in the Windows build, UTF-8 natively); unchanged when the file API takes
// that encoding already, and for Any and Unknown.
ConvertedText ConvertToFileNames(std::string_view text, TextEncoding from);
