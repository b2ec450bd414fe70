#include <gtest/gtest.h>

#include "Exceptions.h"
#include "TestFolder.h"
#include "TextFile.h"

TEST(TextFile, ReadingNormalisesEveryLineBreak) {
  TestFolder folder;
  const std::string name = folder.Path("t.txt");
  WriteBytes(name, "a\r\nb\rc\nd");
  EXPECT_EQ(LoadTextFile(name), "a" + kNL + "b" + kNL + "c" + kNL + "d" + kNL);
  WriteBytes(name, "a\n\n");
  EXPECT_EQ(LoadTextFile(name), "a" + kNL + kNL);  // a trailing empty line survives
  WriteBytes(name, "\r\r\n\n");
  EXPECT_EQ(LoadTextFile(name), kNL + kNL + kNL);
  WriteBytes(name, "");
  EXPECT_EQ(LoadTextFile(name), "");
}

TEST(TextFile, ReadingStopsAtTheFirstZeroByte) {
  TestFolder folder;
  const std::string name = folder.Path("t.txt");
  WriteBytes(name, std::string("ab\ncd\0ef\ngh", 11));
  EXPECT_EQ(LoadTextFile(name), "ab" + kNL + "cd" + kNL);
}

TEST(TextFile, RewritableReadRefusesZeroBytes) {
  TestFolder folder;
  const std::string name = folder.Path("bin.dat");
  WriteBytes(name, std::string("ab\0cd", 5));
  try {
    LoadRewritableTextFile(name);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), "Exception");
    EXPECT_EQ(error.Message(), "ファイル " + name + " はテキストファイルではありません");
  }
  WriteBytes(name, "ab\rcd");
  EXPECT_EQ(LoadRewritableTextFile(name), "ab" + kNL + "cd" + kNL);
}

TEST(TextFile, MissingFileRaisesOpenError) {
  TestFolder folder;
  const std::string name = folder.Path("missing.txt");
  try {
    LoadTextFile(name);
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + name + " は開けません");
  }
  EXPECT_THROW(LoadTextFile(""), EFOpenError);
  EXPECT_THROW(LoadTextFile(folder.Dir()), EFOpenError);
}

TEST(TextFile, SavingNormalisesAndReportsFailure) {
  TestFolder folder;
  const std::string name = folder.Path("out.txt");
  ASSERT_TRUE(SaveTextFile(name, "x\ry\r\nz"));
  EXPECT_EQ(ReadBytes(name), "x" + kNL + "y" + kNL + "z" + kNL);
  ASSERT_TRUE(SaveTextFile(name, ""));
  EXPECT_EQ(ReadBytes(name), "");
  EXPECT_FALSE(SaveTextFile(folder.Path("no/such/out.txt"), "x"));
  EXPECT_EQ(ListFolder(folder.Dir()), "out.txt;");
}
