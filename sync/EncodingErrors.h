// The errors of files whose encodings do not fit together.
#pragma once

#include <cstddef>
#include <string>

#include "Exceptions.h"
#include "TextEncoding.h"

// A file's text cannot be converted, or may not be mixed with the source's.
class EEncodingError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EEncodingError"; }
};

// "U+XXXX": at least four upper-case hex digits.
std::string CharacterCode(char32_t character);

// "ファイル %s の文字コード %s は同期ファイルの文字コード %s と異なります"
[[noreturn]] void RaiseEncodingMismatch(const std::string& fileName, TextEncoding fileEncoding,
                                        TextEncoding sourceEncoding);

// "ファイル %s の文字コード %s では文字 U+XXXX を表せません"
[[noreturn]] void RaiseUnrepresentableCharacter(const std::string& fileName, TextEncoding fileEncoding,
                                                char32_t character);

// "ファイル %s の範囲に %s として読めないバイトがあります（範囲の %d バイト目）":
// the source's region, in the source's encoding; the offset counts from 1
// here.
[[noreturn]] void RaiseUndecodableRegion(const std::string& fileName, TextEncoding fileEncoding, std::size_t offset);
