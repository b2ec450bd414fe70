#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestFolder.h"
#include "UnifiedDiff.h"

TEST(UnifiedDiff, HunksKeepThreeLinesOfContextAndJoinNearbyChanges) {
  const std::string lines = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n";
  const struct {
    std::string newText, hunks;
  } cases[] = {
      {"1\n2\n3\n4\n5\n6\n7\nX\n9\n10\n11\n12\n13\n14\n15\n16\n",
       "@@ -5,7 +5,7 @@\n 5\n 6\n 7\n-8\n+X\n 9\n 10\n 11\n"},
      // Changes six lines apart share one hunk; seven apart they do not.
      {"X\n2\n3\n4\n5\n6\n7\nY\n9\n10\n11\n12\n13\n14\n15\nZ\n",
       "@@ -1,11 +1,11 @@\n-1\n+X\n 2\n 3\n 4\n 5\n 6\n 7\n-8\n+Y\n 9\n 10\n 11\n"
       "@@ -13,4 +13,4 @@\n 13\n 14\n 15\n-16\n+Z\n"},
      {"0\n" + lines, "@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n"},
      {lines.substr(2), "@@ -1,4 +1,3 @@\n-1\n 2\n 3\n 4\n"},
      {lines.substr(0, lines.size() - 1), "@@ -13,4 +13,4 @@\n 13\n 14\n 15\n-16\n+16\n\\ No newline at end of file\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UnifiedDiff("f", lines, c.newText, "\n"), "--- f\n+++ f\n" + c.hunks) << c.newText;
  EXPECT_EQ(UnifiedDiff("f", lines, lines, "\n"), "");
  // A changed line break is a changed line; the diff's own lines take the given break.
  EXPECT_EQ(UnifiedDiff("f", "a\r\nb\r\n", "a\r\nb\n", "\r\n"), "--- f\r\n+++ f\r\n@@ -1,2 +1,2 @@\r\n a\r\n-b\r\n+b\n");
}

#ifndef _WIN32
// Random texts: patch(1) turns the old text into the new one with our
// diff, and the diff changes exactly as many lines as diff(1)'s, the
// fewest there are.
TEST(UnifiedDiff, PatchAppliesItAndItIsAsShortAsDiffs) {
  TestFolder folder;
  std::mt19937 random(20261208);
  const char* const breaks[] = {"\n", "\r\n"};
  auto text = [&] {
    std::string t;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) t += std::string(1, static_cast<char>('a' + random() % 4)) + breaks[random() % 8 == 0];
    if (!t.empty() && random() % 4 == 0) t.pop_back();
    return t;
  };
  auto changedLines = [](const std::string& diff) {
    int count = 0;
    for (std::size_t at = 0; (at = diff.find('\n', at)) != std::string::npos; ++at)
      if (at + 1 < diff.size() && (diff[at + 1] == '-' || diff[at + 1] == '+') && diff.compare(at + 1, 4, "--- ") &&
          diff.compare(at + 1, 4, "+++ "))
        ++count;
    return count;
  };
  const std::string oldName = folder.Path("old"), newName = folder.Path("new"), patchName = folder.Path("patch");
  for (int round = 0; round < 150; ++round) {
    const std::string oldText = text(), newText = text();
    const std::string diff = UnifiedDiff("old", oldText, newText, "\n");
    WriteBytes(oldName, oldText);
    WriteBytes(newName, newText);
    WriteBytes(patchName, "\n" + diff);
    const std::string reference = "diff -u '" + oldName + "' '" + newName + "' >'" + folder.Path("ref") + "'";
    ASSERT_NE(std::system(reference.c_str()), -1);
    EXPECT_EQ(changedLines("\n" + diff), changedLines("\n" + ReadBytes(folder.Path("ref")))) << diff;
    if (diff.empty()) continue;
    const std::string apply = "patch -s --binary '" + oldName + "' <'" + patchName + "'";
    ASSERT_EQ(std::system(apply.c_str()), 0) << diff;
    EXPECT_EQ(ReadBytes(oldName), newText) << diff;
  }
}
#endif
