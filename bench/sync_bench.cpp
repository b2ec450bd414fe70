// Times Quorvel_con over generated sites and compares it with the physical
// floor (cp of the same files) and with Perl doing the same substitution.
// Prints a table; asserts nothing.
//
//   bench_sync [work folder] [sizes...]     (default: 100 1000 10000)
//   bench_sync WORK site                    (the whole-site rows only)
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sync_bench_support.h"

namespace {

constexpr std::size_t kPageSize = 20 * 1024;

const char kOldRegion[] =
    "<!-- %menu% -->\n<nav>\n  <a href=\"index.html\">Home</a> |\n  <a href=\"old.html\">Old</a>\n</nav>\n"
    "<!-- %close menu% -->";
const char kNewRegion[] =
    "<!-- %menu% -->\n<nav>\n  <a href=\"index.html\">Home</a> |\n  <a href=\"teas.html\">Teas $4 / 茶</a> |\n"
    "  <a href=\"visit.html\">Visit</a>\n</nav>\n<!-- %close menu% -->";

// A page of about kPageSize bytes with the region after the first quarter.
std::string Page(const char* region, unsigned seed) {
  std::string text = "<!DOCTYPE html>\n<html><head><title>page</title></head><body>\n";
  std::string filler;
  while (filler.size() < kPageSize) {
    seed = seed * 1103515245u + 12345u;
    filler += "<p>Paragraph " + std::to_string(seed % 100000) +
              ": green tea, lake views and quiet afternoons by the water.</p>\n";
  }
  const std::size_t quarter = filler.find('\n', filler.size() / 4) + 1;
  text += filler.substr(0, quarter) + region + "\n" + filler.substr(quarter);
  text.resize(kPageSize - 16);
  return text + "\n</body></html>\n";
}

struct Site {
  std::string dir;
  std::vector<std::string> pages;  // relative names
  std::size_t bytes = 0;
};

Site BuildSite(const std::string& root, int count) {
  Site site{root + "/site" + std::to_string(count), {}, 0};
  std::system(("rm -rf '" + site.dir + "' && mkdir -p '" + site.dir + "/pages'").c_str());
  Put(site.dir + "/source.html", Page(kNewRegion, 7));
  std::string list = "変数:menu\n同期ﾌｧｲﾙ:source.html\n[EOH]\n";
  for (int i = 0; i < count; ++i) {
    const std::string name = "pages/p" + std::to_string(i) + ".html";
    const std::string page = Page(kOldRegion, static_cast<unsigned>(i));
    Put(site.dir + "/" + name, page);
    site.pages.push_back(name);
    site.bytes += page.size();
    list += name + "\n";
  }
  Put(site.dir + "/site.lst", list);
  return site;
}

// One page of `megabytes` MB with CR LF breaks and its region at the end:
// the run must normalise it, find the region past everything else and
// write it anew. Its peak memory is compared with the page's size.
void BigPageRow(const std::string& root, int megabytes) {
  const std::string dir = root + "/big" + std::to_string(megabytes);
  std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
  const std::string line = "<p>Paragraph: green tea, lake views and quiet afternoons by the water.</p>\r\n";
  std::string page;
  page.reserve(static_cast<std::size_t>(megabytes) << 20);
  while (page.size() + line.size() < (static_cast<std::size_t>(megabytes) << 20) - 512) page += line;
  page += std::string(kOldRegion) + "\r\n</body></html>\r\n";
  const std::size_t bytes = page.size();
  Put(dir + "/big.html", page);
  std::string().swap(page);
  Put(dir + "/source.html", Page(kNewRegion, 7));
  Put(dir + "/site.lst", "変数:menu\n同期ﾌｧｲﾙ:source.html\n[EOH]\nbig.html\n");
  const Measure con = Time({BENCH_QUORVEL_CON, "site.lst"}, dir, [] {});
  const double fileKilobytes = static_cast<double>(bytes) / 1024;
  std::printf("%10.1f | %8.3f | %10ld %8.2f\n", static_cast<double>(bytes) / 1e6, con.seconds, con.peakKilobytes,
              static_cast<double>(con.peakKilobytes) / fileKilobytes);
  std::fflush(stdout);
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : "bench-sync-work";
  ::mkdir(root.c_str(), 0777);
  if (argc > 2 && std::string(argv[2]) == "site") {
    SiteRows(root);
    return 0;
  }
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100, 1000, 10000};
  ::mkdir(root.c_str(), 0777);

  std::printf("A run: Quorvel_con vs cp -r vs perl -0777 -pi (temporary file and rename, as ours);\n"
              "--check on the site once in sync vs cp -r. Best of %d runs, pages of %zu KB.\n\n",
              kRepetitions, kPageSize / 1024);
  std::printf("%7s %7s | %8s %8s %8s %7s %7s | %8s %8s %7s | %8s %7s | %8s %8s\n", "files", "MB", "con s", "cp s",
              "perl s", "con/cp", "con/pl", "con usr", "pl usr", "usr c/p", "check s", "chk/cp", "con KB",
              "perl KB");
  for (const int count : sizes) {
    const Site site = BuildSite(root, count);
    const auto nothing = [] {};
    const Measure con = Time({BENCH_QUORVEL_CON, "site.lst"}, site.dir, nothing);
    const Measure check = Time({BENCH_QUORVEL_CON, "--check", "--quiet", "site.lst"}, site.dir, nothing);

    std::vector<std::string> cp = {"cp", "-r", "pages", "copy"};
    const Measure copy = Time(cp, site.dir, [&] { std::system(("rm -rf '" + site.dir + "/copy'").c_str()); });

    std::vector<std::string> perl = {
        BENCH_PERL, "-0777", "-pi", "-e",
        "s/(<!--(?:(?!-->).)*?)?%(menu)%((.|\\n)*?)%(close|ここまで) \\2%((?:(?!<!--).)*?-->)?/$ENV{QV_REGION}/"};
    perl.insert(perl.end(), site.pages.begin(), site.pages.end());
    const Measure pl = Time(perl, site.dir, nothing, {std::string("QV_REGION=") + kNewRegion});

    std::printf("%7d %7.1f | %8.3f %8.3f %8.3f %7.2f %7.2f | %8.3f %8.3f %7.2f | %8.3f %7.2f | %8ld %8ld\n", count,
                static_cast<double>(site.bytes) / 1e6, con.seconds, copy.seconds, pl.seconds,
                con.seconds / copy.seconds, con.seconds / pl.seconds, con.userSeconds, pl.userSeconds,
                con.userSeconds / pl.userSeconds, check.seconds, check.seconds / copy.seconds, con.peakKilobytes,
                pl.peakKilobytes);
    std::fflush(stdout);
    std::system(("rm -rf '" + site.dir + "'").c_str());
  }
  std::printf("\nGoals: con/pl <= 1 (wall) and usr c/p <= 1 (user CPU) at 1,000 files; chk/cp <= 0.5 at 10,000;\n"
              "con KB about the same for every size.\n");

  std::printf("\nOne big page (CR LF breaks, region at its end): peak memory next to the page's size.\n\n");
  std::printf("%10s | %8s | %10s %8s\n", "page MB", "con s", "peak KB", "peak/page");
  for (const int megabytes : {64, 256, 1024}) BigPageRow(root, megabytes);
  std::printf("\nGoal: peak/page <= 2.5 (plus a few MB) for the largest page.\n");

  SiteRows(root);
  return 0;
}
