// A whole site: 10,000 pages in 100 folders, each holding three regions,
// synchronised with patterns, --all, --relink and --convert, each next to
// the plain run it is measured against. Prints a table; asserts nothing.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sync_bench_support.h"

namespace {

constexpr int kFolders = 100;
constexpr int kPagesPerFolder = 100;

const char* const kCharsets[] = {"UTF-8", "Shift_JIS", "EUC-JP"};

std::string Region(const std::string& name, const std::string& content) {
  return "<!-- %" + name + "% -->" + content + "<!-- %close " + name + "% -->\n";
}

// A page of about 8 KB with a menu, a notice and a footer.
std::string SitePage(int number, const char* charset) {
  std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"" + std::string(charset) +
                     "\"><title>page</title></head><body>\n" + Region("menu", "<a href=\"old.html\">old</a>");
  for (int i = 0; page.size() < 7000; ++i)
    page += "<p>Paragraph " + std::to_string(number * 31 + i) + ": green tea, lake views and quiet water.</p>\n";
  return page + Region("notice", "old notice") + Region("footer", "(c) 2020") + "</body></html>\n";
}

struct SiteFiles {
  std::string dir;
  std::vector<std::string> pages;
};

// The site, its source (the regions given) and two lists: every page
// listed, and one pattern entry.
SiteFiles BuildSite(const std::string& root, bool mixedEncodings, const std::string& menu) {
  SiteFiles site{root + "/site-whole", {}};
  std::system(("rm -rf '" + site.dir + "' && mkdir -p '" + site.dir + "'").c_str());
  for (int f = 0; f < kFolders; ++f) {
    const std::string folder = "pages/d" + std::to_string(f);
    std::system(("mkdir -p '" + site.dir + "/" + folder + "'").c_str());
    for (int p = 0; p < kPagesPerFolder; ++p) {
      const std::string name = folder + "/p" + std::to_string(p) + ".html";
      Put(site.dir + "/" + name, SitePage(f * kPagesPerFolder + p, kCharsets[mixedEncodings ? p % 3 : 0]));
      site.pages.push_back(name);
    }
  }
  Put(site.dir + "/index.html", "<meta charset=\"UTF-8\">\n" + Region("menu", menu) + Region("notice", "new notice") +
                                    Region("footer", "(c) 2026"));
  std::string listed = "変数:menu\n同期ﾌｧｲﾙ:index.html\n[EOH]\n";
  for (const std::string& page : site.pages) listed += page + "\n";
  Put(site.dir + "/listed.lst", listed);
  Put(site.dir + "/pattern.lst", "変数:menu\n同期ﾌｧｲﾙ:index.html\n[EOH]\npages/**/*.html\n");
  return site;
}

// The run against its base, measured in turns (base, run, base, run, ...)
// after the previous runs' writes have reached the disk, so that neither
// pays for the other's write-back.
void Row(const char* what, const std::vector<std::string>& base, const std::vector<std::string>& run,
         const std::string& dir, double goal) {
  Measure bestBase{1e9, 0, 0}, bestRun{1e9, 0, 0};
  const auto settle = [] { ::sync(); };
  for (int turn = 0; turn < kRepetitions; ++turn) {
    bestBase.seconds = std::min(bestBase.seconds, TimeOnce(base, dir, settle).seconds);
    bestRun.seconds = std::min(bestRun.seconds, TimeOnce(run, dir, settle).seconds);
  }
  std::printf("%-44s | %8.3f %8.3f %7.2f %7.2f\n", what, bestBase.seconds, bestRun.seconds,
              bestRun.seconds / bestBase.seconds, goal);
  std::fflush(stdout);
}

}  // namespace

void SiteRows(const std::string& root) {
  std::printf("\nA whole site: %d pages of about 8 KB in %d folders, three regions each. Best of %d runs.\n\n",
              kFolders * kPagesPerFolder, kFolders, kRepetitions);
  std::printf("%-44s | %8s %8s %7s %7s\n", "run (measured against)", "base s", "run s", "ratio", "goal");
  const std::string con = BENCH_QUORVEL_CON;
  {
    const SiteFiles site = BuildSite(root, false, "<a href=\"teas.html\">Teas</a> | <a href=\"img/logo.png\">logo</a>");
    const std::vector<std::string> listed = {con, "listed.lst"};
    Row("one pattern entry (every page listed)", listed, {con, "pattern.lst"}, site.dir, 1.1);
    Row("--all, 3 variables (one variable)", listed, {con, "--all", "listed.lst"}, site.dir, 1.2);
    Row("--relink (plain)", listed, {con, "--relink", "listed.lst"}, site.dir, 1.1);
  }
  {
    // Pages in three encodings: the plain run copies an ASCII menu (no
    // encoding matters), --convert a Japanese one into each page's encoding.
    // The plain run has a source of its own with an ASCII menu.
    SiteFiles site = BuildSite(root, true, "<a href=\"teas.html\">Teas</a>");
    Put(site.dir + "/japanese.html", "<meta charset=\"UTF-8\">\n" +
                                         Region("menu", "<a href=\"teas.html\">\xE3\x81\x8A\xE8\x8C\xB6</a>"));
    std::string list = "変数:menu\n同期ﾌｧｲﾙ:japanese.html\n[EOH]\n";
    for (const std::string& page : site.pages) list += page + "\n";
    Put(site.dir + "/japanese.lst", list);
    Row("--convert, 3 encodings (plain, ASCII menu)", {con, "listed.lst"}, {con, "--convert", "japanese.lst"}, site.dir,
        1.3);
    std::system(("rm -rf '" + site.dir + "'").c_str());
  }
}
