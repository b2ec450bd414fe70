#include <gtest/gtest.h>

#include <algorithm>

#include "DirectoryListing.h"
#include "TestFolder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace platform;

namespace {

// "name:kinds;" for every entry, by name; kinds are F(older), R(egular file), L(ink).
std::string Listed(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  if (!ListDirectory(folder, entries)) return "<unreadable>";
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  std::string listed;
  for (const DirectoryEntry& entry : entries)
    listed += entry.name + ":" + (entry.isFolder ? "F" : "") + (entry.isRegularFile ? "R" : "") +
              (entry.isLink ? "L" : "") + ";";
  return listed;
}

}  // namespace

TEST(DirectoryListing, TellsFilesFoldersAndLinks) {
  TestFolder folder;
  WriteBytes(folder.Path("page.html"), "x");
  ForceDirectories(folder.Path("sub"));
  std::string expected = "page.html:R;sub:F;";
#ifndef _WIN32
  ASSERT_EQ(::symlink("page.html", folder.Path("to-file").c_str()), 0);
  ASSERT_EQ(::symlink("sub", folder.Path("to-folder").c_str()), 0);
  ASSERT_EQ(::symlink("missing", folder.Path("broken").c_str()), 0);
  ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0666), 0);
  expected = "broken:L;page.html:R;pipe:;sub:F;to-file:RL;to-folder:FL;";
  EXPECT_FALSE(IsRegularFile(folder.Path("pipe")));
  EXPECT_TRUE(IsRegularFile(folder.Path("to-file")));
#endif
  EXPECT_EQ(Listed(folder.Dir()), expected);
  EXPECT_EQ(Listed(ExcludeTrailingDelimiter(folder.Dir(), 1)), expected);
  EXPECT_EQ(Listed(folder.Path("sub")), "");
  EXPECT_EQ(Listed(folder.Path("missing")), "<unreadable>");
  EXPECT_TRUE(IsRegularFile(folder.Path("page.html")));
  EXPECT_FALSE(IsRegularFile(folder.Path("sub")));
}

TEST(DirectoryListing, IdentityTellsTwoNamesOfOneFileFromTwoFiles) {
  TestFolder folder;
  WriteBytes(folder.Path("a.html"), "x");
  WriteBytes(folder.Path("b.html"), "x");
  ForceDirectories(folder.Path("sub"));
  FileIdentity a, b, again;
  ASSERT_TRUE(IdentifyFile(folder.Path("a.html"), a));
  ASSERT_TRUE(IdentifyFile(folder.Path("b.html"), b));
  ASSERT_TRUE(IdentifyFile(folder.Path("sub") + kPathDelimiter + ".." + kPathDelimiter + "a.html", again));
  EXPECT_FALSE(a.SameFile(b));
  EXPECT_TRUE(a.SameFile(again));
  EXPECT_FALSE(IdentifyFile(folder.Path("missing.html"), again));
}
