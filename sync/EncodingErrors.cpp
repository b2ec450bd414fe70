#include "EncodingErrors.h"

#include <cstdio>

#include "Format.h"

std::string CharacterCode(char32_t character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  return code;
}

void RaiseEncodingMismatch(const std::string& fileName, TextEncoding fileEncoding, TextEncoding sourceEncoding) {
  throw EEncodingError(Format("ファイル %s の文字コード %s は同期ファイルの文字コード %s と異なります",
                              {ShortenedName(fileName), std::string(EncodingName(fileEncoding)),
                               std::string(EncodingName(sourceEncoding))}));
}

void RaiseUnrepresentableCharacter(const std::string& fileName, TextEncoding fileEncoding, char32_t character) {
  throw EEncodingError(Format("ファイル %s の文字コード %s では文字 %s を表せません",
                              {ShortenedName(fileName), std::string(EncodingName(fileEncoding)),
                               CharacterCode(character)}));
}

void RaiseUndecodableRegion(const std::string& fileName, TextEncoding fileEncoding, std::size_t offset) {
  throw EEncodingError(Format("ファイル %s の範囲に %s として読めないバイトがあります（範囲の %d バイト目）",
                              {ShortenedName(fileName), std::string(EncodingName(fileEncoding)),
                               static_cast<std::int64_t>(offset) + 1}));
}
