#include <gtest/gtest.h>

#include "PatternEscape.h"
#include "ReplacementEscape.h"

namespace {
std::string Escaped(const std::string& text) {
  std::string out;
  EXPECT_TRUE(EscapeReplacementText(text, out)) << text;
  return out;
}
}  // namespace

TEST(ReplacementEscape, EscapesBackslashDollarAndSlash) {
  EXPECT_EQ(Escaped("a/b\\c$1$&\\n"), "a\\/b\\\\c\\$1\\$&\\\\n");
  EXPECT_EQ(Escaped(""), "");
  EXPECT_EQ(Escaped("%close x%"), "%close x%");
}

TEST(ReplacementEscape, DoubleByteTrailFiveCIsNoBackslash) {
  // "ソ" 83 5C and "表" 95 5C in Shift_JIS; a lone lead byte before an
  // ordinary character stays alone.
  EXPECT_EQ(Escaped("\x83\x5C/\x95\x5C\\"), "\x83\x5C\\/\x95\x5C\\\\");
  EXPECT_EQ(Escaped("\x83" "a\\"), "\x83" "a\\\\");  // 83 61 is one character
  EXPECT_EQ(Escaped("\x83\x0A\\"), "\x83\x0A\\\\");  // 0A is no trail byte
}

TEST(ReplacementEscape, LoneLeadByteBeforeSlashOrDollarIsNotExpressible) {
  std::string out;
  EXPECT_FALSE(EscapeReplacementText("\x9E/", out));
  EXPECT_FALSE(EscapeReplacementText("a\xE3\x81\x82$", out));  // UTF-8 "あ$"
  EXPECT_TRUE(EscapeReplacementText("\x9E", out));
}

TEST(PatternEscape, PunctuationIsEscapedByCharacters) {
  const struct {
    const char* name;
    const char* escaped;
  } cases[] = {
      {"menu_2", "menu\\_2"},
      {"a.b(c)[d]*+?|$^\\/{1}", "a\\.b\\(c\\)\\[d\\]\\*\\+\\?\\|\\$\\^\\\\\\/\\{1\\}"},
      {"\x83\x5C\x95\x5C", "\x83\x5C\x95\x5C"},          // "ソ表": their 5C is no backslash
      {"\xE3\x81\x82.", "\xE3\x81\x82(?:\\.)"},          // a lone lead byte before "."
      {"\x82", "\x82"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapePatternText(c.name), c.escaped) << c.name;
}
