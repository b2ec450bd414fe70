#include "TextEncoding.h"

#include <cstdint>
#include <cstring>

#include "sjis.h"

namespace {

using Byte = unsigned char;

bool InRange(Byte b, Byte low, Byte high) { return b >= low && b <= high; }

// Length of the run of ASCII bytes at p, eight at a time: pages are mostly
// markup, and a site's detection should cost no more than reading it.
inline std::size_t AsciiRun(const Byte* p, const Byte* end) {
  const Byte* const start = p;
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (word & 0x8080808080808080ull) break;
    p += 8;
  }
  while (p < end && *p < 0x80) ++p;
  return static_cast<std::size_t>(p - start);
}

// The lead bytes of CP932's rows; stricter than the pattern library's
// pairing rule, which also takes the user-defined and empty rows.
bool IsCp932Lead(Byte b) {
  return InRange(b, 0x81, 0x84) || InRange(b, 0x87, 0x9F) || InRange(b, 0xE0, 0xEA) || InRange(b, 0xED, 0xEE) ||
         InRange(b, 0xFA, 0xFC);
}
bool IsEucByte(Byte b) { return InRange(b, 0xA1, 0xFE); }
bool IsContinuation(Byte b) { return InRange(b, 0x80, 0xBF); }

// Each returns the length of the valid non-ASCII character at p, or 0.
std::size_t Utf8Length(const Byte* p, const Byte* end) {
  const std::size_t left = static_cast<std::size_t>(end - p);
  const Byte b = p[0];
  if (InRange(b, 0xC2, 0xDF)) return left >= 2 && IsContinuation(p[1]) ? 2 : 0;
  if (InRange(b, 0xE0, 0xEF)) {
    if (left < 3 || !IsContinuation(p[2])) return 0;
    // No overlong form (E0 below A0) and no surrogate (ED above 9F).
    const Byte low = b == 0xE0 ? 0xA0 : 0x80;
    const Byte high = b == 0xED ? 0x9F : 0xBF;
    return InRange(p[1], low, high) ? 3 : 0;
  }
  if (InRange(b, 0xF0, 0xF4)) {
    if (left < 4 || !IsContinuation(p[2]) || !IsContinuation(p[3])) return 0;
    const Byte low = b == 0xF0 ? 0x90 : 0x80;
    const Byte high = b == 0xF4 ? 0x8F : 0xBF;
    return InRange(p[1], low, high) ? 4 : 0;
  }
  return 0;
}

std::size_t ShiftJisLength(const Byte* p, const Byte* end) {
  if (InRange(p[0], 0xA1, 0xDF)) return 1;
  return IsCp932Lead(p[0]) && end - p >= 2 && bregexp::is_trail_byte(p[1]) ? 2 : 0;
}

std::size_t EucJpLength(const Byte* p, const Byte* end) {
  const std::size_t left = static_cast<std::size_t>(end - p);
  if (left < 2) return 0;
  if (IsEucByte(p[0])) return IsEucByte(p[1]) ? 2 : 0;
  if (p[0] == 0x8E) return InRange(p[1], 0xA1, 0xDF) ? 2 : 0;
  return p[0] == 0x8F && left >= 3 && IsEucByte(p[1]) && IsEucByte(p[2]) ? 3 : 0;
}

using LengthRule = std::size_t (*)(const Byte*, const Byte*);

LengthRule RuleOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return Utf8Length;
    case TextEncoding::EucJp:
      return EucJpLength;
    default:
      return nullptr;
  }
}

// The rule is a template argument so that it is inlined into the loop:
// Japanese text is one character test after another.
template <std::size_t (*Rule)(const Byte*, const Byte*)>
bool IsValid(std::string_view bytes) {
  const auto* p = reinterpret_cast<const Byte*>(bytes.data());
  const Byte* const end = p + bytes.size();
  while (p < end) {
    if (*p < 0x80) {
      // Markup runs long; a lone ASCII byte between characters is common too.
      p += p + 1 < end && p[1] < 0x80 ? AsciiRun(p, end) : 1;
      continue;
    }
    const std::size_t length = Rule(p, end);
    if (length == 0) return false;
    p += length;
  }
  return true;
}

}  // namespace

const char* EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Any:
      return "ASCII";
    case TextEncoding::Utf8:
      return "UTF-8";
    case TextEncoding::ShiftJis:
      return "Shift_JIS";
    case TextEncoding::EucJp:
      return "EUC-JP";
    case TextEncoding::Utf16Le:
      return "UTF-16LE";
    case TextEncoding::Utf16Be:
      return "UTF-16BE";
    case TextEncoding::Unknown:
      break;
  }
  return "不明";
}

std::optional<TextEncoding> ByteOrderMarkEncoding(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return TextEncoding::Utf8;
  if (bytes.substr(0, 2) == "\xFF\xFE") return TextEncoding::Utf16Le;
  if (bytes.substr(0, 2) == "\xFE\xFF") return TextEncoding::Utf16Be;
  return std::nullopt;
}

std::size_t ByteOrderMarkLength(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return 3;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      return 2;
    default:
      return 0;
  }
}

std::size_t AsciiPrefixLength(std::string_view bytes) {
  const auto* p = reinterpret_cast<const Byte*>(bytes.data());
  return AsciiRun(p, p + bytes.size());
}

bool IsValidUtf8(std::string_view bytes) { return IsValid<Utf8Length>(bytes); }
bool IsValidShiftJis(std::string_view bytes) { return IsValid<ShiftJisLength>(bytes); }
bool IsValidEucJp(std::string_view bytes) { return IsValid<EucJpLength>(bytes); }

std::size_t CharacterLength(TextEncoding encoding, std::string_view text, std::size_t pos) {
  const auto* p = reinterpret_cast<const Byte*>(text.data());
  if (p[pos] < 0x80) return 1;
  // Any lead byte pairs with a trail byte here, user-defined rows included,
  // as the system's file API and the pattern library pair them.
  if (encoding == TextEncoding::ShiftJis) return bregexp::char_width(p, pos, text.size(), true);
  const LengthRule rule = RuleOf(encoding);
  const std::size_t length = rule ? rule(p + pos, p + text.size()) : 0;
  return length == 0 ? 1 : length;
}
