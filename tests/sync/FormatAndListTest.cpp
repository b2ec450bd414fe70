#include <gtest/gtest.h>

#include "Exceptions.h"
#include "Format.h"
#include "Strings.h"
#include "TextEncoding.h"

TEST(Format, FillsArgumentsInOrderAndByIndex) {
  EXPECT_EQ(Format("a%sb%sc", {std::string("1"), std::string("2")}), "a1b2c");
  EXPECT_EQ(Format("%%(%s)%%/%1:s/", {std::string("N"), std::string("R")}), "%(N)%/R/");
  EXPECT_EQ(Format("%1:s%0:s%s", {std::string("x"), std::string("y")}), "yxy");
  EXPECT_EQ(Format("(%d)", {std::int64_t{-7}}), "(-7)");
  // Arguments are inserted as they are, percent signs included.
  EXPECT_EQ(Format("%s", {std::string("%s%%")}), "%s%%");
}

TEST(Format, MismatchedPatternRaises) {
  EXPECT_THROW(Format("%s %s", {std::string("1")}), Exception);
  EXPECT_THROW(Format("%d", {std::string("1")}), Exception);
  EXPECT_THROW(Format("100%", {}), Exception);
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list{"a", "b"};
  EXPECT_EQ(list.Get(1), "b");
  try {
    list.Get(2);
    FAIL();
  } catch (const EStringListError& error) {
    EXPECT_STREQ(error.ClassName(), "EStringListError");
    EXPECT_EQ(error.Message(), "リストのインデックスが範囲を超えています (2)");
  }
  EXPECT_THROW(list.Get(-1), EStringListError);
  EXPECT_THROW(list.Delete(2), EStringListError);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0), "b");
}

TEST(ShortenedName, LongNamesKeepTheirEndsBetweenCharacters) {
  // "表" in the program's own encoding: its Shift_JIS trail byte is 5C.
  const std::string wide = NativeEncoding() == TextEncoding::ShiftJis ? "\x95\x5C" : u8"表";
  std::string longWide;
  for (int i = 0; i < 200; ++i) longWide += wide;
  std::string sixtyWide;
  for (int i = 0; i < 60; ++i) sixtyWide += wide;
  const struct {
    std::string name;
    std::string shown;
  } cases[] = {
      {"", ""},
      {std::string(121, 'a'), std::string(121, 'a')},
      {std::string(61, 'a') + std::string(61, 'b'), std::string(60, 'a') + "…" + std::string(60, 'b')},
      {"a" + longWide, "a" + sixtyWide.substr(0, 59 * wide.size()) + "…" + sixtyWide},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortenedName(c.name), c.shown);
  try {
    RaiseFileOpenError(std::string(1000000, 'n'));
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + std::string(60, 'n') + "…" + std::string(60, 'n') + " は開けません");
  }
}
