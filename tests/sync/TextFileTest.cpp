#include <gtest/gtest.h>

#include "Exceptions.h"
#include "TestFolder.h"
#include "TargetPlan.h"
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
    ReadTarget(name, name);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), "Exception");
    EXPECT_EQ(error.Message(), "ファイル " + name + " はテキストファイルではありません");
  }
  WriteBytes(name, "ab\rcd");
  EXPECT_EQ(ReadTarget(name, name).bytes, "ab\rcd");
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

TEST(TextFile, LineBreakStyleIsTheFirstBreakAndTheLastLinesEnd) {
  const struct {
    const char* bytes;
    const char* lineBreak;  // nullptr: the platform's
    bool finalBreak;
    const char* reapplied;  // the bytes' lines, normalised and ended in the style again
  } cases[] = {
      {"a\nb\r\nc\n", "\n", true, "a\nb\nc\n"},
      {"a\r\nb\nc", "\r\n", false, "a\r\nb\r\nc"},
      {"a\rb\r", "\r", true, "a\rb\r"},
      {"one line", nullptr, false, "one line"},
      {"", nullptr, false, ""},
      {"\r\n", "\r\n", true, "\r\n"},
  };
  for (const auto& c : cases) {
    const LineBreakStyle style = DetectLineBreakStyle(c.bytes);
    EXPECT_EQ(style.lineBreak, c.lineBreak ? c.lineBreak : kNL) << c.bytes;
    EXPECT_EQ(style.finalBreak, c.finalBreak) << c.bytes;
    EXPECT_EQ(ApplyLineBreakStyle(NormaliseLineBreaks(c.bytes), style), c.reapplied) << c.bytes;
  }
}
