// The closing keyword "ここまで" in the bytes of each page encoding, through
// the real pattern library in its Shift_JIS ("k") mode.
#include <gtest/gtest.h>

#include "BRegExp.h"
#include "SyncUnit.h"

namespace {

const struct PageEncoding {
  const char* name;
  std::string keyword;  // "ここまで"
  std::string content;  // ends in a byte that Shift_JIS reads as a lead byte
} kEncodings[] = {
    {"UTF-8", u8"ここまで", u8"漢字"},
    {"Shift_JIS", "\x82\xB1\x82\xB1\x82\xDC\x82\xC5", "\x8A\xBF\x8E\x9A"},
    {"EUC-JP", "\xA4\xB3\xA4\xB3\xA4\xDE\xA4\xC7", "\xB4\xC1\xBB\xFA"},
};

}  // namespace

TEST(ClosingMarker, EverySpellingClosesTheRegionInEveryEncoding) {
  for (const PageEncoding& page : kEncodings)
    for (const std::string& keyword : {page.keyword, std::string("close")}) {
      const std::string region = "<!-- %menu% -->" + page.content + "<!-- %" + keyword + " menu% -->";
      std::string text = page.content + "\n" + region + "\n" + page.content;
      ASSERT_TRUE(RegExp().Match(BuildMatchCommand("menu"), text)) << page.name << " " << keyword;
      EXPECT_EQ(RegExp().Strings(0), region) << page.name;
      EXPECT_EQ(RegExp().Strings(3), " -->" + page.content + "<!-- ") << page.name;
      EXPECT_EQ(RegExp().Strings(5), keyword) << page.name;
      ASSERT_TRUE(RegExp().Subst(BuildSubstCommand("menu", "NEW"), text)) << page.name;
      EXPECT_EQ(text, page.content + "\nNEW\n" + page.content) << page.name;
    }
}

TEST(ClosingMarker, NearMissesStillDoNotClose) {
  for (const PageEncoding& page : kEncodings)
    for (const std::string& closing :
         {page.keyword + "  menu", page.keyword + "menu", page.keyword + " Menu", page.keyword.substr(2) + " menu"}) {
      const std::string text = "%menu%" + page.content + "%" + closing + "%";
      EXPECT_FALSE(RegExp().Match(BuildMatchCommand("menu"), text)) << page.name << " " << closing;
    }
}
