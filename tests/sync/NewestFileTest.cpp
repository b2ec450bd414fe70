#include <gtest/gtest.h>

#include "SyncUnit.h"
#include "TestFolder.h"

TEST(NewestFile, PicksTheLatestWriteTimeFirstOnTies) {
  TestFolder folder;
  const std::string a = folder.Path("a"), b = folder.Path("b"), c = folder.Path("c");
  for (const auto& name : {a, b, c}) WriteBytes(name, "x");
  SetLocalWriteTime(a, {2010, 1, 1, 0, 0, 0});
  SetLocalWriteTime(b, {2020, 6, 1, 12, 0, 0});
  SetLocalWriteTime(c, {2020, 6, 1, 12, 0, 0});
  EXPECT_EQ(FindNewestFile(TStringList{a, b, c}), 1);
  EXPECT_EQ(FindNewestFile(TStringList{folder.Path("missing"), folder.Dir(), a}), 2);
  // A second later is newer, though the packed date's two-second slot is the same.
  SetLocalWriteTime(c, {2020, 6, 1, 12, 0, 1});
  EXPECT_EQ(FindNewestFile(TStringList{a, b, c}), 2);
  // Past the packed date's range (2044 on) a file is still the newest.
  SetLocalWriteTime(a, {2050, 1, 1, 0, 0, 0});
  EXPECT_EQ(FindNewestFile(TStringList{b, c, a}), 2);
}

TEST(NewestFile, NothingToChooseGivesZero) {
  TestFolder folder;
  EXPECT_EQ(FindNewestFile(TStringList{}), 0);
  EXPECT_EQ(FindNewestFile(TStringList{folder.Path("x"), folder.Path("y")}), 0);
}

TEST(AppDirectory, IsTheProgramFolderWithATrailingDelimiter) {
  ASSERT_FALSE(AppDir.empty());
  EXPECT_EQ(AppDir.back(), platform::kPathDelimiter);
  EXPECT_TRUE(platform::FileExists(AppDir + platform::ExtractFileName(platform::ExecutablePath())));
#ifdef _WIN32
  EXPECT_EQ(AppDir.find('/'), std::string::npos);
#endif
}
