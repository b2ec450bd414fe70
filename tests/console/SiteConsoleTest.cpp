// A whole site from one list: pattern entries, every variable in one run
// (--all) and links rebased for each page's folder (--relink).
#include <gtest/gtest.h>

#include "ConsoleFixture.h"

namespace {

class Site : public Console {
 protected:
  // "a/b.html" in the platform's spelling.
  static std::string Native(std::string name) {
    for (char& c : name)
      if (c == '/') c = platform::kPathDelimiter;
    return name;
  }
  std::string SitePage(const std::string& name, const std::string& text) {
    platform::ForceDirectories(platform::ExtractFilePath(folder.Path(Native(name))));
    return Page(Native(name), text);
  }
  std::string Read(const std::string& name) { return ReadBytes(folder.Path(Native(name))); }
};

const std::string kMenuNew = "<!-- %menu% --><a href=\"teas.html\">Teas</a><img src=\"img/logo.png\"><!-- %close menu% -->";
const std::string kMenuOld = "<!-- %menu% -->old<!-- %close menu% -->";
const std::string kFootNew = "<!-- %foot% -->(c) 2026<!-- %close foot% -->";
const std::string kFootOld = "<!-- %foot% -->(c) 2020<!-- %close foot% -->";

}  // namespace

// A pattern finds every file below a folder, in byte order; only those that
// open the region are targets (read, printed, rewritten); the source and
// files an earlier entry names are not named again.
TEST_F(Site, PatternEntriesFindThePagesThatHoldTheRegion) {
  SitePage("site/index.html", kMenuNew + kNL);
  SitePage("site/z.html", kMenuOld + kNL);
  SitePage("site/a.html", kMenuOld + kNL);
  SitePage("site/blog/2024/post.html", kMenuOld + kNL);
  SitePage("site/b.html", "no block here" + kNL);
  SitePage("site/.hidden/h.html", kMenuOld + kNL);
  SitePage("site/logo.png", std::string("\x89PNG\0\0", 6));
  const std::string list =
      List("site.lst", Header("menu", Native("site/index.html")), {Native("site/z.html"), Native("site/**/*")});
  const ChildResult result = Run({list});
  EXPECT_EQ(result.output, kSearching + Native("site/z.html") + kNL + Native("site/a.html") + kNL +
                               Native("site/blog/2024/post.html") + kNL + kFinished);
  EXPECT_EQ(result.exitCode, 0);
  for (const char* page : {"site/a.html", "site/z.html", "site/blog/2024/post.html"})
    EXPECT_EQ(Read(page), kMenuNew + kNL) << page;
  EXPECT_EQ(Read("site/b.html"), "no block here" + kNL);
  EXPECT_EQ(Read("site/.hidden/h.html"), kMenuOld + kNL);
  EXPECT_EQ(Read("site/logo.png"), std::string("\x89PNG\0\0", 6));
}

TEST_F(Site, PatternsInChecksAndStrictRuns) {
  SitePage("site/index.html", kMenuNew + kNL);
  SitePage("site/a.html", kMenuOld + kNL);
  SitePage("site/sub/b.html", kMenuNew + kNL);
  const std::string pattern = Native("site/**/*.html"), nothing = Native("site/none/*.html");
  const std::string found = List("found.lst", Header("menu", Native("site/index.html")), {pattern});
  const std::string none = List("none.lst", Header("menu", Native("site/index.html")), {nothing});
  const std::string noneError =
      "Exceptionｴﾗｰ:パターン " + nothing + " に一致するファイルに変数 menu の範囲はありません";
  const struct {
    std::vector<std::string> arguments;
    std::string output, errors;
    int exitCode;
  } cases[] = {
      {{"--check", found}, Native("site/a.html") + kNL, "", 1},
      {{"--check", none}, "", "", 0},
      {{"--check", "--strict", none}, "", noneError + kNL, 2},
      {{"--strict", none}, kSearching + noneError, "", 1},
  };
  for (const auto& c : cases) {
    const ChildResult result = Run(c.arguments);
    EXPECT_EQ(result.output, c.output) << c.arguments[0] << " " << c.arguments.back();
    EXPECT_EQ(result.errors, c.errors) << c.arguments[0] << " " << c.arguments.back();
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments[0] << " " << c.arguments.back();
  }
  EXPECT_EQ(Read("site/a.html"), kMenuOld + kNL);
}

// Every variable of the source in one run: each page read and written once.
TEST_F(Site, AllVariablesInOneRun) {
  SitePage("index.html", kMenuNew + kNL + "body" + kNL + kFootNew + kNL);
  SitePage("both.html", kFootOld + kNL + kMenuOld + kNL);
  SitePage("foot.html", kFootOld + kNL);
  const std::string list = List("site.lst", Header("", "index.html"), {"both.html", "foot.html"});
  EXPECT_EQ(Run({"--all", "--check", list}).output, "both.html" + kNL + "foot.html" + kNL);
  ChildResult strict = Run({"--all", "--strict", list});
  EXPECT_EQ(strict.output, kSearching + "Exceptionｴﾗｰ:次のファイルには変数 menu, foot の範囲がありません: foot.html");
  const ChildResult result = Run({"--all", list});
  EXPECT_EQ(result.output, kSearching + "both.html" + kNL + "foot.html" + kNL + kFinished);
  EXPECT_EQ(Read("both.html"), kFootNew + kNL + kMenuNew + kNL);
  EXPECT_EQ(Read("foot.html"), kFootNew + kNL);
  EXPECT_EQ(Run({"--all", "--check", list}).exitCode, 0);
}

// Links keep leading to the same files from every page's folder.
TEST_F(Site, RelinkRebasesRelativeReferences) {
  SitePage("index.html", kMenuNew + kNL);
  SitePage("blog/2024/post.html", kMenuOld + kNL);
  SitePage("teas.html", kMenuOld + kNL);
  const std::string list = List("site.lst", Header("menu", "index.html"), {"**/*.html"});
  EXPECT_EQ(Run({"--relink", list}).exitCode, 0);
  EXPECT_EQ(Read("blog/2024/post.html"),
            "<!-- %menu% --><a href=\"../../teas.html\">Teas</a><img src=\"../../img/logo.png\"><!-- %close menu% -->" +
                kNL);
  EXPECT_EQ(Read("teas.html"), kMenuNew + kNL);
  // The compare runs compare against the rebased region.
  EXPECT_EQ(Run({"--check", "--relink", list}).exitCode, 0);
  // Found names keep the pattern's own delimiter.
  EXPECT_EQ(Run({"--check", list}).output, "blog/2024/post.html" + kNL);
}

// --all over pattern entries: a found page is a target when it opens any of
// the source's regions; strict wants every region it opens closed; the
// compare runs cover every variable and every found page.
TEST_F(Site, AllVariablesOverPatterns) {
  SitePage("index.html", kMenuNew + kNL + kFootNew + kNL);
  SitePage("a.html", kFootOld + kNL);
  SitePage("sub/b.html", kMenuOld + kNL + kFootOld + kNL);
  SitePage("c.html", "no block" + kNL);
  SitePage("broken/d.html", "<!-- %menu% -->lost its end" + kNL + kFootOld + kNL);
  const std::string list = List("site.lst", Header("", "index.html"), {"*.html", "sub/*.html"});
  const std::string broken = List("broken.lst", Header("", "index.html"), {"broken/*.html"});
  const std::string relinked =
      "<!-- %menu% --><a href=\"../teas.html\">Teas</a><img src=\"../img/logo.png\"><!-- %close menu% -->";
  const ChildResult check = Run({"--all", "--check", "--relink", list});
  EXPECT_EQ(check.output, "a.html" + kNL + "sub/b.html" + kNL);
  EXPECT_EQ(check.exitCode, 1);
  const ChildResult diff = Run({"--all", "--diff", "--relink", list});
  EXPECT_NE(diff.output.find("+++ sub/b.html"), std::string::npos) << diff.output;
  EXPECT_NE(diff.output.find("+" + relinked), std::string::npos) << diff.output;
  EXPECT_EQ(diff.output.find("c.html"), std::string::npos) << diff.output;
  const ChildResult strict = Run({"--all", "--strict", broken});
  EXPECT_EQ(strict.output,
            kSearching + "Exceptionｴﾗｰ:次のファイルには変数 menu, foot の範囲がありません: broken/d.html");
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_EQ(Read("broken/d.html"), "<!-- %menu% -->lost its end" + kNL + kFootOld + kNL);

  const ChildResult run = Run({"--all", "--relink", list});
  EXPECT_EQ(run.output, kSearching + "a.html" + kNL + "sub/b.html" + kNL + kFinished);
  EXPECT_EQ(Read("a.html"), kFootNew + kNL);
  EXPECT_EQ(Read("sub/b.html"), relinked + kNL + kFootNew + kNL);
  EXPECT_EQ(Read("c.html"), "no block" + kNL);
  EXPECT_EQ(Run({"--all", "--check", "--relink", list}).exitCode, 0);
}
