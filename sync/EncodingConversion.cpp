#include "EncodingConversion.h"

#include "CodePageConversion.h"
#include "EucJp.h"
#include "UnicodeText.h"

namespace {

using platform::CodePage;

ConvertedText Undecodable(std::size_t offset) {
  return {std::string(), ConversionFault{ConversionFault::Kind::Undecodable, offset, 0}};
}

ConvertedText Unrepresentable(char32_t character) {
  return {std::string(), ConversionFault{ConversionFault::Kind::Unrepresentable, 0, character}};
}

bool IsPassThrough(TextEncoding encoding) {
  return encoding == TextEncoding::Any || encoding == TextEncoding::Unknown;
}

// The offset of the first non-ASCII character, walked by the encoding's
// rule, that `accepts` refuses; the size when it refuses none.
template <typename Accepts>
std::size_t FirstRefused(std::string_view text, TextEncoding encoding, Accepts accepts) {
  std::size_t pos = AsciiPrefixLength(text);
  while (pos < text.size()) {
    const std::size_t length = CharacterLength(encoding, text, pos);
    if (static_cast<unsigned char>(text[pos]) >= 0x80 && !accepts(text.substr(pos, length))) return pos;
    pos += length;
  }
  return pos;
}

// Shift_JIS into UTF-8, false at anything that is no CP932 text.
bool ShiftJisToUtf8(std::string_view sjis, std::string& utf8) {
  return IsValidShiftJis(sjis) && platform::ConvertCodePage(sjis, CodePage::ShiftJis, CodePage::Utf8, utf8);
}

bool EucJpToUtf8(std::string_view euc, std::string& utf8) {
  std::string sjis;
  std::size_t badOffset = 0;
  return EucJpToShiftJis(euc, sjis, badOffset) && ShiftJisToUtf8(sjis, utf8);
}

ConvertedText ToUtf8(std::string_view text, TextEncoding from) {
  ConvertedText result;
  std::size_t badOffset = 0;
  switch (from) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      if (!Utf16ToUtf8(text, from == TextEncoding::Utf16Be, result.text, badOffset)) return Undecodable(badOffset);
      return result;
    case TextEncoding::ShiftJis:
    case TextEncoding::EucJp: {
      const auto decode = from == TextEncoding::ShiftJis ? ShiftJisToUtf8 : EucJpToUtf8;
      if (decode(text, result.text)) return result;
      std::string character;
      return Undecodable(FirstRefused(text, from, [&](std::string_view c) { return decode(c, character); }));
    }
    default:
      if (!IsValidUtf8(text))
        return Undecodable(FirstRefused(text, TextEncoding::Utf8, [](std::string_view c) { return IsValidUtf8(c); }));
      result.text = std::string(text);
      return result;
  }
}

// UTF-8 into a code page, each character converting only when it comes
// back unchanged.
bool EncodesExactly(std::string_view utf8, CodePage page, std::string& out) {
  if (!platform::ConvertCodePage(utf8, CodePage::Utf8, page, out)) return false;
  std::string back;
  const bool decoded = page == CodePage::ShiftJis ? ShiftJisToUtf8(out, back)
                                                  : platform::ConvertCodePage(out, page, CodePage::Utf8, back);
  return decoded && back == utf8;
}

bool EncodesToShiftJis(std::string_view utf8, std::string& out) {
  return EncodesExactly(utf8, CodePage::ShiftJis, out);
}

bool EncodesToEucJp(std::string_view utf8, std::string& out) {
  std::string sjis;
  std::size_t badOffset = 0;
  return EncodesToShiftJis(utf8, sjis) && ShiftJisToEucJp(sjis, out, badOffset);
}

bool EncodesToFileNames(std::string_view utf8, std::string& out) {
  return EncodesExactly(utf8, CodePage::FileNames, out);
}

// The whole text at once; when that fails, the first character that does
// not convert on its own is the one to name.
ConvertedText EncodeUtf8(const std::string& utf8, bool (*encode)(std::string_view, std::string&)) {
  ConvertedText result;
  if (encode(utf8, result.text)) return result;
  std::string character;
  const std::size_t refused =
      FirstRefused(utf8, TextEncoding::Utf8, [&](std::string_view c) { return encode(c, character); });
  if (refused == utf8.size()) return Undecodable(refused);
  return Unrepresentable(CodePointOfUtf8(utf8.substr(refused, CharacterLength(TextEncoding::Utf8, utf8, refused))));
}

ConvertedText FromUtf8(const std::string& utf8, TextEncoding to) {
  switch (to) {
    case TextEncoding::ShiftJis:
      return EncodeUtf8(utf8, EncodesToShiftJis);
    case TextEncoding::EucJp:
      return EncodeUtf8(utf8, EncodesToEucJp);
    default:
      return {utf8, std::nullopt};
  }
}

}  // namespace

ConvertedText ConvertText(std::string_view text, TextEncoding from, TextEncoding to) {
  if (from == to || IsPassThrough(from) || IsPassThrough(to)) return {std::string(text), std::nullopt};
  ConvertedText utf8 = ToUtf8(text, from);
  if (utf8.fault) return utf8;
  return FromUtf8(utf8.text, to);
}

ConvertedText ConvertToFileNames(std::string_view text, TextEncoding from) {
  const bool taken = (from == TextEncoding::Utf8 && platform::FileNamesUse(CodePage::Utf8)) ||
                     (from == TextEncoding::ShiftJis && platform::FileNamesUse(CodePage::ShiftJis));
  if (taken || IsPassThrough(from)) return {std::string(text), std::nullopt};
  ConvertedText utf8 = ToUtf8(text, from);
  if (utf8.fault || platform::FileNamesUse(CodePage::Utf8)) return utf8;
  return EncodeUtf8(utf8.text, EncodesToFileNames);
}
