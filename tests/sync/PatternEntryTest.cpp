#include <gtest/gtest.h>

#include <string>

#include "Exceptions.h"
#include "NameMatch.h"
#include "PatternEntry.h"
#include "TestFolder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr NameRules kPosix{CharacterSet::Utf8, false};
constexpr NameRules kWindows{CharacterSet::ShiftJis, true};

std::string Names(const std::vector<FoundFile>& found) {
  std::string names;
  for (const FoundFile& file : found) names += file.name + ";";
  return names;
}

// index.html, b.html, Z.html, a.txt, .hidden.html, .git/x.html,
// blog/post.html, blog/2024/deep.html and blog/2024/img.png under site/.
void WriteSite(const TestFolder& folder) {
  for (const char* name : {"index.html", "b.html", "Z.html", "a.txt", ".hidden.html", ".git/x.html", "blog/post.html",
                           "blog/2024/deep.html", "blog/2024/img.png"}) {
    const std::string path = folder.Path(std::string("site/") + name);
    platform::ForceDirectories(platform::ExtractFilePath(path));
    WriteBytes(path, "x");
  }
}

}  // namespace

TEST(PatternSegment, MatchesNamesByItsRules) {
  const struct {
    const char* segment;
    const char* name;
    NameRules rules;
    bool matches;
  } cases[] = {
      {"*.html", "index.html", kPosix, true},
      {"*.html", "index.htm", kPosix, false},
      {"*.html", ".html", kPosix, false},  // "*" never starts a hidden name
      {"*.html", ".hidden.html", kWindows, false},
      {".*", ".hidden", kPosix, true},
      {"?", "a", kPosix, true},
      {"?", "ab", kPosix, false},
      {"a?c", "ac", kPosix, false},
      {"a*b*c", "aXbYbZc", kPosix, true},
      {"a*b*c", "aXbYbZ", kPosix, false},
      {"***", "abc", kPosix, true},
      {"**", "blog", kPosix, true},
      {"**", ".git", kPosix, false},
      {"[ab]", "[ab]", kPosix, true},  // no character classes
      {"[ab]", "a", kPosix, false},
      {"*.HTML", "a.html", kPosix, false},  // case counts natively
      {"*.HTML", "a.html", kWindows, true},
      {"?.txt", "\xE3\x81\x82.txt", kPosix, true},    // UTF-8 "あ" is one character
      {"?.txt", "\xE3\x81\x82.txt", kWindows, false},
      {"a?c", "a\x83\x5C" "c", kWindows, true},       // Shift_JIS "ソ" is one character
      {"a?c", "a\x83\x5C" "c", kPosix, false},
      {"*\x83\x5C", "x\x83\x5C", kWindows, true},
      {"\x83\x41", "\x83\x61", kWindows, false},     // a trail byte is no letter to fold
      {"?\x41", "\x83\x41", kWindows, false},        // nor a character of its own
  };
  for (const auto& c : cases)
    EXPECT_EQ(SegmentMatchesName(c.segment, c.name, c.rules), c.matches) << c.segment << " / " << c.name;
}

TEST(PatternEntryExpansion, FindsRegularFilesInByteOrder) {
  TestFolder folder;
  WriteSite(folder);
  const struct {
    const char* pattern;
    const char* names;
  } cases[] = {
      {"site/*.html", "site/Z.html;site/b.html;site/index.html;"},
      {"site/**/*.html",
       "site/Z.html;site/b.html;site/blog/2024/deep.html;site/blog/post.html;site/index.html;"},
      {"site/**/**/*.png", "site/blog/2024/img.png;"},
      {"site/**", "site/Z.html;site/a.txt;site/b.html;site/blog/2024/deep.html;site/blog/2024/img.png;"
                  "site/blog/post.html;site/index.html;"},
      {"site/.*", "site/.hidden.html;"},
      {"site/.git/*", "site/.git/x.html;"},
      {"site/*/post.html", "site/blog/post.html;"},
      {"site/*/*/d??p.*", "site/blog/2024/deep.html;"},
      {"site/b*", "site/b.html;"},  // the folder blog is no match
      {"site//blog/../*.txt", "site/blog/../a.txt;"},
      {"site/**/", ""},
      {"site/*.none", ""},
      {"missing/**/*.html", ""},
  };
  for (const auto& c : cases) {
    const std::vector<FoundFile> found = ExpandPatternEntry(c.pattern, folder.Dir());
    EXPECT_EQ(Names(found), c.names) << c.pattern;
    for (const FoundFile& file : found) EXPECT_EQ(file.path, folder.Dir() + file.name);
  }
  // An absolute pattern counts from its root and gives full names.
  const std::string absolute = folder.Dir() + "site/blog/*.html";
  EXPECT_EQ(Names(ExpandPatternEntry(absolute, "elsewhere/")), folder.Dir() + "site/blog/post.html;");
}

TEST(PatternEntryExpansion, WildcardsMakeAPatternUnlessTheNameExists) {
  TestFolder folder;
  WriteSite(folder);
  EXPECT_TRUE(IsPatternEntry("site/*.html", folder.Dir()));
  EXPECT_TRUE(IsPatternEntry("site/?.html", folder.Dir()));
  EXPECT_FALSE(IsPatternEntry("site/index.html", folder.Dir()));
#ifndef _WIN32
  EXPECT_TRUE(IsPatternEntry("a*b", folder.Dir()));
  WriteBytes(folder.Path("a*b"), "x");
  WriteBytes(folder.Path("aXb"), "x");
  EXPECT_FALSE(IsPatternEntry("a*b", folder.Dir()));
  EXPECT_TRUE(IsPatternEntry(folder.Dir() + "a?b", ""));
#endif
}

#ifdef _WIN32
TEST(PatternEntryExpansion, WindowsTakesBothDelimitersAndIgnoresAsciiCase) {
  TestFolder folder;
  WriteSite(folder);
  const std::string sjisFolder = "\x95\x5C";  // "表", whose trail byte is 5C
  platform::ForceDirectories(folder.Path(sjisFolder));
  WriteBytes(folder.Path(sjisFolder + "\\\x83\x5C.html"), "x");  // "ソ.html"
  const struct {
    std::string pattern;
    std::string names;
  } cases[] = {
      {"site\\blog/*.html", "site\\blog/post.html;"},
      {"SITE\\*.HTML", "SITE\\Z.html;SITE\\b.html;SITE\\index.html;"},
      {"site\\**\\2024\\*.png", "site\\blog\\2024\\img.png;"},
      {sjisFolder + "\\?.html", sjisFolder + "\\\x83\x5C.html;"},
  };
  for (const auto& c : cases) EXPECT_EQ(Names(ExpandPatternEntry(c.pattern, folder.Dir())), c.names) << c.pattern;
  EXPECT_FALSE(IsPatternEntry("\\\\?\\C:\\missing.html", ""));  // the "?" of a root is no wildcard
}
#else
TEST(PatternEntryExpansion, LinksLeadToFilesButLinkedFoldersAreNotWalked) {
  TestFolder folder;
  WriteSite(folder);
  platform::ForceDirectories(folder.Path("outside"));
  WriteBytes(folder.Path("outside/shared.html"), "x");
  ASSERT_EQ(::symlink("../outside/shared.html", folder.Path("site/shared.html").c_str()), 0);
  ASSERT_EQ(::symlink("index.html", folder.Path("site/zz-again.html").c_str()), 0);
  ASSERT_EQ(::symlink("missing.html", folder.Path("site/broken.html").c_str()), 0);
  ASSERT_EQ(::symlink("../outside", folder.Path("site/linked").c_str()), 0);
  ASSERT_EQ(::symlink("..", folder.Path("site/blog/loop").c_str()), 0);
  EXPECT_EQ(Names(ExpandPatternEntry("site/*.html", folder.Dir())),
            "site/Z.html;site/b.html;site/index.html;site/shared.html;");
  EXPECT_EQ(Names(ExpandPatternEntry("site/**/*.html", folder.Dir())),
            "site/Z.html;site/b.html;site/blog/2024/deep.html;site/blog/post.html;site/index.html;site/shared.html;");
  EXPECT_EQ(Names(ExpandPatternEntry("site/linked/*.html", folder.Dir())), "site/linked/shared.html;");
}

TEST(PatternEntryExpansion, AFolderThatCannotBeReadIsAnError) {
  TestFolder folder;
  WriteSite(folder);
  ASSERT_EQ(::chmod(folder.Dir().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(folder.Path("site/blog").c_str(), 0311), 0);
  // Root reads every folder, so the search runs as nobody.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
    try {
      ExpandPatternEntry("site/**/*.html", folder.Dir());
    } catch (const EFOpenError& error) {
      ::_exit(error.Message() == "ファイル site/blog/ は開けません" ? 0 : 3);
    }
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::chmod(folder.Path("site/blog").c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
