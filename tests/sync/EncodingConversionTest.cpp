#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "Cp932Table.h"
#include "EncodingConversion.h"
#include "UnicodeText.h"

namespace {

std::string Utf8Of(char32_t codePoint) {
  std::string text;
  AppendUtf8(text, codePoint);
  return text;
}

std::string BytesOf(std::uint16_t code) {
  if (code <= 0xFF) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// Of CP932's duplicate codes its encoder picks JIS X 0208 first, then NEC
// row 13, then the IBM extensions, then the NEC-selected IBM rows.
int Preference(std::uint16_t code) {
  const int lead = code >> 8;
  if (lead == 0x87) return 1;
  if (lead >= 0xFA) return 2;
  if (lead == 0xED || lead == 0xEE) return 3;
  return 0;
}

const std::map<char32_t, std::uint16_t>& PreferredCodes() {
  static const std::map<char32_t, std::uint16_t> preferred = [] {
    std::map<char32_t, std::uint16_t> codes;
    for (const Cp932Entry& entry : kCp932Table) {
      const auto [it, fresh] = codes.emplace(entry.codePoint, entry.code);
      if (!fresh && Preference(entry.code) < Preference(it->second)) it->second = entry.code;
    }
    return codes;
  }();
  return preferred;
}

const TextEncoding kJapanese[] = {TextEncoding::Utf8, TextEncoding::ShiftJis, TextEncoding::EucJp};

}  // namespace

TEST(EncodingConversion, SamplesConvertBetweenAllThreeBothWays) {
  const struct {
    const char* what;
    std::string spellings[3];  // UTF-8, Shift_JIS, EUC-JP
  } samples[] = {
      {"hiragana and kanji", {u8"あ漢字", "\x82\xA0\x8A\xBF\x8E\x9A", "\xA4\xA2\xB4\xC1\xBB\xFA"}},
      {"half-width katakana", {u8"ｱﾞ", "\xB1\xDE", "\x8E\xB1\x8E\xDE"}},
      {"ASCII backslash and tilde", {"\\~", "\\~", "\\~"}},
      {"Microsoft's symbols", {u8"＼～∥－―", "\x81\x5F\x81\x60\x81\x61\x81\x7C\x81\x5C", "\xA1\xC0\xA1\xC1\xA1\xC2\xA1\xDD\xA1\xBD"}},
      {"fullwidth cent, pound, not", {u8"￠￡￢", "\x81\x91\x81\x92\x81\xCA", "\xA1\xF1\xA1\xF2\xA2\xCC"}},
      {"NEC row 13", {u8"①㈱", "\x87\x40\x87\x8A", "\xAD\xA1\xAD\xEA"}},
      // IBM extensions: rows 89-92 of the NEC-selected twins in EUC-JP.
      {"IBM kanji", {u8"纊", "\xFA\x5C", "\xF9\xA1"}},
      {"IBM small roman numeral", {u8"ⅰ", "\xFA\x40", "\xFC\xF1"}},
  };
  for (const auto& sample : samples)
    for (int from = 0; from < 3; ++from)
      for (int to = 0; to < 3; ++to) {
        const ConvertedText converted = ConvertText(sample.spellings[from], kJapanese[from], kJapanese[to]);
        EXPECT_FALSE(converted.fault) << sample.what << " " << from << "->" << to;
        EXPECT_EQ(converted.text, sample.spellings[to]) << sample.what << " " << from << "->" << to;
      }
  // A NEC-selected code reads as its character and leaves as the twin Windows picks.
  EXPECT_EQ(ConvertText("\xED\x40", TextEncoding::ShiftJis, TextEncoding::Utf8).text, u8"纊");
  EXPECT_EQ(ConvertText("\xED\x40", TextEncoding::ShiftJis, TextEncoding::EucJp).text, "\xF9\xA1");
}

TEST(EncodingConversion, CharactersTheTargetCannotHoldAreNamed) {
  // Look-alikes that best-fit converters would map, user-defined and private
  // characters, and characters outside JIS X 0208.
  const char32_t refused[] = {0x00A5, 0x203E, 0x2212, 0x301C, 0x2016, 0x00A2, 0x00A3, 0x00AC, 0x2014,
                              0x00A6, 0x0080, 0xE000, 0xF8F0, 0x2603, 0x1F600};
  for (TextEncoding to : {TextEncoding::ShiftJis, TextEncoding::EucJp})
    for (char32_t character : refused) {
      const ConvertedText converted = ConvertText(u8"あ" + Utf8Of(character) + "b", TextEncoding::Utf8, to);
      ASSERT_TRUE(converted.fault) << std::hex << character;
      EXPECT_EQ(converted.fault->kind, ConversionFault::Kind::Unrepresentable);
      EXPECT_EQ(converted.fault->character, character);
    }
}

TEST(EncodingConversion, BytesThatAreNoCharactersAreFound) {
  const struct {
    TextEncoding from;
    std::string bytes;
    std::size_t offset;
  } cases[] = {
      {TextEncoding::ShiftJis, "ab\x80", 2},
      {TextEncoding::ShiftJis, "a\xA0", 1},
      {TextEncoding::ShiftJis, "\xFD", 0},
      {TextEncoding::ShiftJis, "x\xF0\x40", 1},             // user-defined row
      {TextEncoding::ShiftJis, "\x85\x40", 0},              // no such lead byte
      {TextEncoding::ShiftJis, "\x82\xA0\x81\xAD", 2},      // unassigned
      {TextEncoding::ShiftJis, "\x82\xA0\x82", 2},          // lead byte at the end
      {TextEncoding::EucJp, "\x8F\xB0\xA1", 0},             // JIS X 0212
      {TextEncoding::EucJp, "\xA4\xA2\xA9\xA1", 2},         // row 9: empty in CP932
      {TextEncoding::EucJp, "\xA4", 0},
      {TextEncoding::Utf8, "a\xC0\xAF", 1},
      {TextEncoding::Utf8, "\xE3\x81\x82\xED\xA0\x80", 3},  // surrogate
      {TextEncoding::Utf16Le, std::string("a\0\0\xD8", 4), 2},
      {TextEncoding::Utf16Be, std::string("\0a\0", 3), 2},
  };
  for (const auto& c : cases) {
    const TextEncoding to = c.from == TextEncoding::Utf8 ? TextEncoding::ShiftJis : TextEncoding::Utf8;
    const ConvertedText converted = ConvertText(c.bytes, c.from, to);
    ASSERT_TRUE(converted.fault) << c.bytes;
    EXPECT_EQ(converted.fault->kind, ConversionFault::Kind::Undecodable) << c.bytes;
    EXPECT_EQ(converted.fault->offset, c.offset) << c.bytes;
  }
}

// Both builds against the one table: every code decodes to its entry and no
// other code decodes; every character encodes to the code Windows picks and
// no other character of the BMP encodes.
TEST(Cp932Table, BothBuildsDecodeExactlyTheSharedTable) {
  std::map<std::uint16_t, char32_t> expected;
  for (const Cp932Entry& entry : kCp932Table) expected.emplace(entry.code, entry.codePoint);
  int failures = 0;
  for (std::uint32_t code = 0x80; code <= 0xFCFC && failures < 20; ++code) {
    const std::uint32_t lead = code >> 8;
    const std::uint32_t trail = code & 0xFF;
    const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0;
    if (code > 0xFF && (!doubleByte || trail < 0x40 || trail == 0x7F || trail > 0xFC)) continue;
    const ConvertedText decoded = ConvertText(BytesOf(static_cast<std::uint16_t>(code)), TextEncoding::ShiftJis,
                                              TextEncoding::Utf8);
    const auto entry = expected.find(static_cast<std::uint16_t>(code));
    const bool ok = entry == expected.end() ? decoded.fault.has_value()
                                             : !decoded.fault && decoded.text == Utf8Of(entry->second);
    if (!ok && ++failures) ADD_FAILURE() << "code " << std::hex << code;
  }
}

TEST(Cp932Table, BothBuildsEncodeExactlyTheSharedTable) {
  int failures = 0;
  for (const auto& [codePoint, code] : PreferredCodes()) {
    const std::string character = Utf8Of(codePoint);
    const ConvertedText sjis = ConvertText(character, TextEncoding::Utf8, TextEncoding::ShiftJis);
    const ConvertedText euc = ConvertText(character, TextEncoding::Utf8, TextEncoding::EucJp);
    const bool ok = !sjis.fault && sjis.text == BytesOf(code) && !euc.fault &&
                    ConvertText(euc.text, TextEncoding::EucJp, TextEncoding::Utf8).text == character;
    if (!ok && ++failures <= 20) ADD_FAILURE() << "U+" << std::hex << codePoint;
  }
  for (char32_t codePoint = 0x80; codePoint < 0x10000; ++codePoint) {
    if ((codePoint >= 0xD800 && codePoint < 0xE000) || PreferredCodes().count(codePoint)) continue;
    const ConvertedText sjis = ConvertText(Utf8Of(codePoint), TextEncoding::Utf8, TextEncoding::ShiftJis);
    if (!sjis.fault && ++failures <= 20) ADD_FAILURE() << "U+" << std::hex << codePoint << " encodes";
  }
}
