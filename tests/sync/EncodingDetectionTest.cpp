#include <gtest/gtest.h>

#include "EncodingDetection.h"

namespace {

// "日本語" in each encoding; the EUC-JP spelling is valid in neither of the
// others, the Shift_JIS one is no UTF-8.
const std::string kUtf8Text = u8"日本語";
const std::string kSjisText = "\x93\xFA\x96\x7B\x8C\xEA";
const std::string kEucText = "\xC6\xFC\xCB\xDC\xB8\xEC";

}  // namespace

TEST(EncodingDetection, DeclarationsNearTheTopDecide) {
  const std::string farAway = std::string(kDeclarationWindow, ' ');
  const struct {
    std::string bytes;
    TextEncoding expected;
  } cases[] = {
      {"<html><head><meta charset=\"Shift_JIS\"></head>" + kUtf8Text, TextEncoding::ShiftJis},
      {"<META CHARSET=euc-jp>" + kSjisText, TextEncoding::EucJp},
      {"<meta charset='utf8'/>" + kSjisText, TextEncoding::Utf8},
      {"<meta charset=\" UTF-8 \">" + kSjisText, TextEncoding::Utf8},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-sjis\">" + kUtf8Text, TextEncoding::ShiftJis},
      {"<meta\nhttp-equiv=Content-Type content=\"text/html;charset=Windows-31J\">" + kUtf8Text,
       TextEncoding::ShiftJis},
      {"<?xml version=\"1.0\" encoding=\"EUC-JP\"?>\n<html>" + kUtf8Text, TextEncoding::EucJp},
      {"<?xml version='1.0' encoding = 'cp932' ?>" + kUtf8Text, TextEncoding::ShiftJis},
      {"@charset \"x-euc-jp\";\nbody { }" + kUtf8Text, TextEncoding::EucJp},
      // A commented-out declaration does not count; the first real one does.
      {"<!-- <meta charset=\"euc-jp\"> --><meta charset=\"sjis\"><meta charset=\"utf-8\">", TextEncoding::ShiftJis},
      // A declared encoding the engine does not know is no licence to mix.
      {"<meta charset=\"iso-2022-jp\">", TextEncoding::Unknown},
      // Not declarations: these fall back to the bytes.
      {"<meta name=\"keywords\" content=\"charset\"><metadata charset=\"euc-jp\">" + kSjisText, TextEncoding::ShiftJis},
      {"<?xml version=\"1.0\"?><p>" + kEucText, TextEncoding::EucJp},
      {farAway + "<meta charset=\"euc-jp\">" + kSjisText, TextEncoding::ShiftJis},
      // A byte-order mark outranks a declaration.
      {"\xEF\xBB\xBF<meta charset=\"Shift_JIS\">", TextEncoding::Utf8},
      {std::string("\xFF\xFE<\0m\0", 6), TextEncoding::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(DetectTextEncoding(c.bytes), c.expected) << c.bytes;
}

TEST(EncodingDetection, LabelsAndTheirAliases) {
  const struct {
    const char* label;
    TextEncoding expected;
  } cases[] = {
      {"Shift_JIS", TextEncoding::ShiftJis}, {"sjis", TextEncoding::ShiftJis},     {"X-SJIS", TextEncoding::ShiftJis},
      {"windows-31j", TextEncoding::ShiftJis}, {"CP932", TextEncoding::ShiftJis},  {"EUC-JP", TextEncoding::EucJp},
      {"x-euc-jp", TextEncoding::EucJp},       {"UTF-8", TextEncoding::Utf8},       {"utf8", TextEncoding::Utf8},
      {"\tutf-8 ", TextEncoding::Utf8},        {"utf-16", TextEncoding::Unknown},   {"shift_jis2004", TextEncoding::Unknown},
      {"", TextEncoding::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodingOfLabel(c.label), c.expected) << c.label;
}

TEST(EncodingDetection, WithoutDeclarationTheBytesDecideInOrder) {
  const struct {
    const char* what;
    std::string bytes;
    TextEncoding expected;
  } cases[] = {
      {"empty", "", TextEncoding::Any},
      {"ASCII only", "<p>plain</p>\r\n~\\", TextEncoding::Any},
      {"UTF-8", "<p>" + kUtf8Text + "</p>", TextEncoding::Utf8},
      {"four-byte UTF-8", u8"\U0001F600", TextEncoding::Utf8},
      {"UTF-8 is tried first: 日 is also valid Shift_JIS", u8"日", TextEncoding::Utf8},
      {"Shift_JIS", "<p>" + kSjisText + "</p>", TextEncoding::ShiftJis},
      {"Shift_JIS half-width katakana", "\xB1\xB2\xB3", TextEncoding::ShiftJis},
      {"Shift_JIS NEC and IBM rows", "\x87\x40\xED\x40\xFA\x5C", TextEncoding::ShiftJis},
      {"EUC-JP", "<p>" + kEucText + "</p>", TextEncoding::EucJp},
      {"EUC-JP three-byte character", "\x8F\xB0\xA1" + kEucText, TextEncoding::EucJp},
      {"EUC-JP kana alone is valid Shift_JIS, which comes first", "\xA4\xA2\xA4\xA4", TextEncoding::ShiftJis},
      {"overlong UTF-8", "\xC0\xAF\xFD", TextEncoding::Unknown},
      {"UTF-8 surrogate", "\xED\xA0\x80", TextEncoding::Unknown},
      {"above U+10FFFF", "\xF4\x90\x80\x80\x80", TextEncoding::Unknown},
      {"Shift_JIS user-defined row", "\xF0\x40", TextEncoding::Unknown},
      {"lead byte at the end", kSjisText + "\x93", TextEncoding::Unknown},
      {"80 and A0 are no text", "\x80\xA0", TextEncoding::Unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodingOfBytes(c.bytes), c.expected) << c.what;
}
