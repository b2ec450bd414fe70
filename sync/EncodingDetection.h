// Which encoding a file is in: a byte-order mark first, then a declaration
// near the top, then the bytes themselves.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "TextEncoding.h"

// Declarations are looked for where browsers look for them: in the first
// kilobyte.
inline constexpr std::size_t kDeclarationWindow = 1024;

// The encoding a charset label names ("Shift_JIS", "sjis", "x-sjis",
// "windows-31j", "cp932", "EUC-JP", "x-euc-jp", "UTF-8", "utf8" and the
// web's other labels of these three), case-insensitive, blanks around it
// ignored; Unknown for any other label.
TextEncoding EncodingOfLabel(std::string_view label);

// The encoding declared in the first kDeclarationWindow bytes: an XML
// declaration's encoding at the start, CSS "@charset", or an HTML meta
// element's charset, either <meta charset=...> or the charset parameter of
// <meta http-equiv="Content-Type" content="...">; the first one found
// counts, and HTML comments are skipped. None without a declaration;
// Unknown for a declared encoding the engine does not know.
std::optional<TextEncoding> DeclaredEncoding(std::string_view bytes);

// By the bytes alone: Any for ASCII only, else the first of UTF-8,
// Shift_JIS and EUC-JP in which the whole text is valid, else Unknown.
TextEncoding EncodingOfBytes(std::string_view bytes);

// A page's encoding: a UTF-8 byte-order mark, else its declaration, else
// its bytes. A UTF-16 byte-order mark gives Unknown: pages are read as
// bytes, and such a page holds zero bytes.
TextEncoding DetectTextEncoding(std::string_view bytes);
