// Pages in Shift_JIS, EUC-JP and UTF-8 side by side: never garbled by
// default, converted with --convert. Page bytes are written as escapes so
// that both builds see the same bytes.
#include <gtest/gtest.h>

#include "ConsoleFixture.h"

namespace {

// "株式会社サンプル" and "メニュー" in each encoding.
struct Spelling {
  const char* charset;
  std::string company, menu, closeKeyword;
};
const Spelling kUtf8{"UTF-8",
                     "\xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE\xE3\x82\xB5\xE3\x83\xB3\xE3\x83\x97\xE3\x83\xAB",
                     "\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC", "\xE3\x81\x93\xE3\x81\x93\xE3\x81\xBE\xE3\x81\xA7"};
const Spelling kSjis{"Shift_JIS", "\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\x83\x54\x83\x93\x83\x76\x83\x8B",
                     "\x83\x81\x83\x6A\x83\x85\x81\x5B", "\x82\xB1\x82\xB1\x82\xDC\x82\xC5"};
const Spelling kEuc{"EUC-JP", "\xB3\xF4\xBC\xB0\xB2\xF1\xBC\xD2\xA5\xB5\xA5\xF3\xA5\xD7\xA5\xEB",
                    "\xA5\xE1\xA5\xCB\xA5\xE5\xA1\xBC", "\xA4\xB3\xA4\xB3\xA4\xDE\xA4\xC7"};

// A page declaring its encoding, its region closed with ここまで in it.
std::string PageText(const Spelling& s, const std::string& content) {
  return "<meta charset=\"" + std::string(s.charset) + "\">\n<!-- %" + s.menu + "% -->" + content + "<!-- %" +
         s.closeKeyword + " " + s.menu + "% -->\n";
}

class Encodings : public Console {
 protected:
  // The region's name as the list gives it: in the program's own encoding.
#ifdef _WIN32
  const Spelling& native = kSjis;
#else
  const Spelling& native = kUtf8;
#endif
};

}  // namespace

TEST_F(Encodings, MixedSitesAreNeverGarbled) {
  const std::string src = Page("src.html", PageText(kUtf8, kUtf8.company));
  const std::string utf8 = Page("utf8.html", PageText(kUtf8, "old"));
  const std::string sjis = Page("sjis.html", PageText(kSjis, "old"));
  const std::string list = List("site.lst", Header(native.menu, src), {utf8, sjis});
  const std::string mismatch = "EEncodingErrorｴﾗｰ:ファイル " + sjis +
                               " の文字コード Shift_JIS は同期ファイルの文字コード UTF-8 と異なります";
  ChildResult check = Run({"--check", list});
  EXPECT_EQ(check.output, utf8 + kNL + sjis + kNL);
  EXPECT_EQ(check.errors, mismatch.substr(mismatch.find(':') + 1) + kNL);
  EXPECT_EQ(check.exitCode, 1);
  // The diff has nothing to show for a refused page, yet it differs.
  const ChildResult diff = Run({"--diff", List("sjis.lst", Header(native.menu, src), {sjis})});
  EXPECT_EQ(diff.output, "");
  EXPECT_EQ(diff.errors, check.errors);
  EXPECT_EQ(diff.exitCode, 1);
  const ChildResult run = Run({list});
  EXPECT_EQ(run.output, kSearching + utf8 + kNL + sjis + kNL + mismatch);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadBytes(sjis), PageText(kSjis, "old"));
}

// With --convert every page gets the region in its own encoding, the name
// looked up in that encoding too.
TEST_F(Encodings, ConvertWritesEachPageInItsOwnEncoding) {
  for (const Spelling* from : {&kUtf8, &kSjis, &kEuc}) {
    const std::string src = Page("src.html", PageText(*from, from->company));
    std::vector<std::string> targets;
    for (const Spelling* to : {&kUtf8, &kSjis, &kEuc})
      targets.push_back(Page(std::string(to->charset) + ".html", PageText(*to, "old")));
    const std::string list = List("site.lst", Header(native.menu, src), targets);
    const ChildResult run = Run({"--convert", "--quiet", list});
    EXPECT_EQ(run.output, "") << from->charset;
    EXPECT_EQ(run.exitCode, 0) << from->charset;
    // The source's region converted, its comment and keyword included.
    std::size_t i = 0;
    for (const Spelling* to : {&kUtf8, &kSjis, &kEuc}) {
      std::string expected = PageText(*to, to->company);
      expected.replace(expected.find('\n'), 1, kNL).replace(expected.size() - 1, 1, kNL);
      EXPECT_EQ(ReadBytes(targets[i++]), expected) << from->charset << " -> " << to->charset;
    }
    EXPECT_EQ(Run({"--convert", "--check", list}).exitCode, 0) << from->charset;
  }
}

// What --convert cannot write stops the run at that page, which is left as
// it was: a character the page's encoding cannot hold (the page is named),
// or bytes the source's own declared encoding cannot read (the source is).
TEST_F(Encodings, ConvertRefusesWhatItCannotWrite) {
  const struct {
    const char* name;
    std::string region;
    bool sourceIsNamed;
    const char* problem;
  } cases[] = {
      {"U+1F600", "hi \xF0\x9F\x98\x80", false, " の文字コード Shift_JIS では文字 U+1F600 を表せません"},
      {"Shift_JIS in UTF-8", "ok " + kSjis.company, true,
       " の範囲に UTF-8 として読めないバイトがあります（範囲の 27 バイト目）"},
  };
  for (const auto& c : cases) {
    const std::string src = Page("src.html", PageText(kUtf8, c.region));
    const std::string sjis = Page("sjis.html", PageText(kSjis, "old"));
    const ChildResult run = Run({"--convert", List("site.lst", Header(native.menu, src), {sjis})});
    EXPECT_EQ(run.output, kSearching + sjis + kNL + "EEncodingErrorｴﾗｰ:ファイル " + (c.sourceIsNamed ? src : sjis) +
                              c.problem)
        << c.name;
    EXPECT_EQ(run.exitCode, 1) << c.name;
    EXPECT_EQ(ReadBytes(sjis), PageText(kSjis, "old")) << c.name;
  }
}

// --convert with every variable (--all), links rebased (--relink) and the
// compare runs: each page gets every region rebased and in its own encoding.
TEST_F(Encodings, ConvertCombinesWithAllRelinkAndTheCompareRuns) {
  const auto pageOf = [](const Spelling& s, const std::string& menu, const std::string& foot) {
    return PageText(s, menu) + "<!-- %foot% -->" + foot + "<!-- %close foot% -->\n";
  };
  const std::string link = "<a href=\"teas.html\">";
  const std::string src = Page("index.html", pageOf(kUtf8, link + kUtf8.company + "</a>", "(c) " + kUtf8.menu));
  ASSERT_TRUE(platform::ForceDirectories(folder.Path("sub")));
  const std::string sub = std::string("sub") + platform::kPathDelimiter;
  const std::string sjis = sub + "sjis.html", euc = sub + "euc.html";
  Page(sjis, pageOf(kSjis, "old", "old"));
  Page(euc, pageOf(kEuc, "old", "old"));
  const std::string list = List("site.lst", Header("", "index.html"), {sjis, euc});
  const std::vector<std::string> options = {"--convert", "--all", "--relink"};
  const auto withOptions = [&](std::vector<std::string> more) {
    more.insert(more.begin(), options.begin(), options.end());
    more.push_back(list);
    return more;
  };
  const ChildResult diff = Run(withOptions({"--diff"}));
  EXPECT_EQ(diff.exitCode, 1);
  EXPECT_NE(diff.output.find("+++ " + sjis), std::string::npos) << diff.output;
  EXPECT_NE(diff.output.find("+<!-- %" + kSjis.menu + "% --><a href=\"../teas.html\">" + kSjis.company),
            std::string::npos)
      << diff.output;
  EXPECT_NE(diff.output.find("+<!-- %foot% -->(c) " + kEuc.menu), std::string::npos) << diff.output;
  EXPECT_EQ(Run(withOptions({"--check"})).output, sjis + kNL + euc + kNL);
  EXPECT_EQ(ReadBytes(folder.Path(sjis)), pageOf(kSjis, "old", "old"));

  EXPECT_EQ(Run(withOptions({"--quiet"})).exitCode, 0);
  for (const Spelling* s : {&kSjis, &kEuc}) {
    std::string expected = pageOf(*s, "<a href=\"../teas.html\">" + s->company + "</a>", "(c) " + s->menu);
    for (std::size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += kNL.size())
      expected.replace(at, 1, kNL);
    EXPECT_EQ(ReadBytes(folder.Path(s == &kSjis ? sjis : euc)), expected) << s->charset;
  }
  EXPECT_EQ(Run(withOptions({"--check"})).exitCode, 0);
}

// Without --convert nothing changes where nothing could be garbled: a region
// of ASCII alone, or a page whose encoding cannot be told, is written as
// always, byte for byte.
TEST_F(Encodings, AsciiRegionsAndUnknownPagesAreWrittenAsAlways) {
  const auto page = [](const std::string& charset, const std::string& content) {
    return "<meta charset=\"" + charset + "\">\n<p>" + kSjis.company + "</p><!-- %menu% -->" + content +
           "<!-- %close menu% -->\n";
  };
  const struct {
    const char* name;
    std::string region, target;
  } cases[] = {
      {"ASCII region into Shift_JIS", "plain", page("Shift_JIS", "old")},
      {"UTF-8 region into an unknown page", kUtf8.company, page("iso-2022-jp", "old")},
  };
  for (const auto& c : cases) {
    const std::string src = Page("src.html", "<meta charset=\"UTF-8\">\n<!-- %menu% -->" + c.region + "<!-- %close menu% -->\n");
    const std::string target = Page("target.html", c.target);
    const ChildResult run = Run({"--quiet", List("site.lst", Header("menu", src), {target})});
    EXPECT_EQ(run.exitCode, 0) << c.name << ": " << run.output;
    EXPECT_NE(ReadBytes(target).find("<!-- %menu% -->" + c.region + "<!-- %close menu% -->"), std::string::npos)
        << c.name;
  }
}
