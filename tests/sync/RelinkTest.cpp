#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Platform.h"
#include "Relink.h"

namespace {

// A full folder path below the site's root, in the platform's form.
std::string SiteFolder(std::string relative) {
  std::replace(relative.begin(), relative.end(), '/', platform::kPathDelimiter);
#ifdef _WIN32
  return "C:\\site\\" + relative;
#else
  return "/site/" + relative;
#endif
}

struct RelinkCase {
  std::string region;
  std::string source;  // folders below the site's root
  std::string target;
  std::string relinked;
};

void ExpectRelinked(const RelinkCase& c) {
  EXPECT_EQ(RelinkRegion(c.region, SiteFolder(c.source), SiteFolder(c.target)), c.relinked)
      << c.region << " from '" << c.source << "' to '" << c.target << "'";
}

}  // namespace

TEST(Relink, RebasesEveryKindOfReference) {
  const RelinkCase cases[] = {
      {"<a href=\"teas.html\">Teas</a>", "", "blog/2024/", "<a href=\"../../teas.html\">Teas</a>"},
      {"<img src='img/logo.png'>", "", "blog/2024/", "<img src='../../img/logo.png'>"},
      {"<IMG\nSRC=img/logo.png alt=x>", "", "blog/", "<IMG\nSRC=../img/logo.png alt=x>"},
      {"<img srcset=\" a.png 1x, b/c.png 2x,d.png,, e.png\">", "", "blog/",
       "<img srcset=\" ../a.png 1x, ../b/c.png 2x,../d.png,, ../e.png\">"},
      {"<form action=send.cgi><button formaction='x.cgi'><video poster=\"p.jpg\"><object data=d.svg>"
       "<q cite=c.html><td background=bg.gif>",
       "", "blog/",
       "<form action=../send.cgi><button formaction='../x.cgi'><video poster=\"../p.jpg\"><object data=../d.svg>"
       "<q cite=../c.html><td background=../bg.gif>"},
      {"<style>a{background:url(img/a.png)} b{background:URL( \"b.png\" )}</style>"
       "<div style=\"background:url('c.png')\"><p style=\"x:url(&quot;d.png&quot;)\">",
       "", "blog/",
       "<style>a{background:url(../img/a.png)} b{background:URL( \"../b.png\" )}</style>"
       "<div style=\"background:url('../c.png')\"><p style=\"x:url(&quot;../d.png&quot;)\">"},
      {"<a href=\"teas.html?x=1&amp;y=2#top\"><a href=\" a.html \">", "", "blog/",
       "<a href=\"../teas.html?x=1&amp;y=2#top\"><a href=\" ../a.html \">"},
      {"<a href=\"img\\logo.png\">", "", "blog/", "<a href=\"../img/logo.png\">"},
  };
  for (const RelinkCase& c : cases) ExpectRelinked(c);
}

TEST(Relink, LeavesAbsoluteReferencesAndEverythingOutsideValuesAlone) {
  const std::string unchanged[] = {
      "<a href=\"http://example.com/x.html\"><a href=mailto:a@b.c><a href=\"tel:+1-555\">",
      "<a href=\"javascript:void(0)\"><img src=\"data:image/png;base64,AAAA\">",
      "<a href=\"/root.html\"><a href=\"//cdn.example.com/x.js\"><a href=\\x.html>",
      "<a href=\"#top\"><a href=\"?page=2\"><a href=\"\"><a href>",
      "teas.html href=\"teas.html\" url-ish myurl(x.png) <!-- <a href=\"x.html\"> url(y.png) -->",
      "<a data-src=\"x.png\" title=\"src=y.png\" hreflang=en>",
      "<a href=\"x.html",  // left open
  };
  for (const std::string& region : unchanged) ExpectRelinked({region, "", "blog/", region});
}

TEST(Relink, ResolvesDotSegmentsAndReferencesToTheTargetsOwnFolder) {
  const RelinkCase cases[] = {
      {"<a href=\"../about.html\">", "blog/", "", "<a href=\"about.html\">"},
      {"<a href=\"./x.html\">", "blog/", "blog/2024/", "<a href=\"../x.html\">"},
      {"<a href=\"blog/2024/post.html\">", "", "blog/2024/", "<a href=\"post.html\">"},
      {"<a href=\"../blog/2024/post.html#c\">", "news/", "blog/2024/", "<a href=\"post.html#c\">"},
      {"<a href=\"blog/\"><a href=\"blog\">", "", "blog/", "<a href=\"./\"><a href=\"../blog\">"},
      {"<a href=\".\"><a href=\"img/\">", "", "blog/2024/", "<a href=\"../../\"><a href=\"../../img/\">"},
      {"<a href=\"../../../../x.html\">", "a/", "b/", "<a href=\"../../x.html\">"},  // no higher than the root
      {"<a href=\"x.html\">", "my docs/", "b/", "<a href=\"../my%20docs/x.html\">"},
      {"<a href=\"../my%20docs/x.html\">", "b/", "my docs/", "<a href=\"x.html\">"},
      {"<a href=\"./x.html\">", "blog/", "blog/", "<a href=\"./x.html\">"},  // same folder: as it is
  };
  for (const RelinkCase& c : cases) ExpectRelinked(c);
}

#ifdef _WIN32
TEST(Relink, WindowsFoldersDifferingInCaseAreOneAndOtherDrivesAreLeftAlone) {
  EXPECT_EQ(RelinkRegion("<a href=\"BLOG/x.html\">", "C:\\Site\\", "c:\\site\\blog\\"), "<a href=\"x.html\">");
  EXPECT_EQ(RelinkRegion("<a href=\"x.html\">", "C:\\site\\", "D:\\site\\blog\\"), "<a href=\"x.html\">");
  EXPECT_EQ(RelinkRegion("<a href=\"x.html\">", "\\\\server\\a\\", "\\\\server\\b\\"), "<a href=\"x.html\">");
  // "ソ" ends in the byte 5C, and "ア" in an ASCII letter: neither splits a name.
  EXPECT_EQ(RelinkRegion("<a title=\x83\x41 href=\"\x83\x5C/x.html\">", "C:\\site\\", "C:\\site\\\x83\x5C\\"),
            "<a title=\x83\x41 href=\"x.html\">");
  EXPECT_EQ(RelinkRegion("<a href=\"x.html\">", "C:\\site\\\x83\x5C\\", "C:\\site\\b\\"),
            "<a href=\"../\x83\x5C/x.html\">");
}
#endif
