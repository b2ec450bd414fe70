#include "PathRules.h"
#include "PathText.h"
#include "TestHost.h"

#include <gtest/gtest.h>

using namespace gui;

TEST(PathRules, ExtractFileDirKeepsTheRootDelimiterOnly) {
    EXPECT_EQ(ExtractFileDir("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(ExtractFileDir("C:\\b.txt"), "C:\\");
    EXPECT_EQ(ExtractFileDir("\\\\server\\share\\f.txt"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDir("b.txt"), "");
    EXPECT_EQ(ExtractFileDir("C:b.txt"), "C:");
}

TEST(PathRules, DoubleByteTrailBackslashIsNoDelimiter) {
    // "ソ" is 0x83 0x5C in Shift_JIS: its second byte looks like a backslash.
    const std::string so = "ソ";
    ASSERT_EQ(so, std::string("\x83\x5C"));
    EXPECT_EQ(ExtractFileDir("C:\\" + so + "\\a.txt"), "C:\\" + so);
    EXPECT_EQ(ExtractFileDir("C:\\" + so + "a.txt"), "C:\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\" + so), "C:\\" + so);
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\" + so + "\\"), "C:\\" + so);
}

TEST(PathRules, ExcludeTrailingBackslashTurnsADriveRootIntoItsLetter) {
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\"), "C:");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\a\\"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\a"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingBackslash(""), "");
}

TEST(PathRules, InitDirComesFromAnExistingFileOrDirectoryOnly) {
    guitest::TempFolder folder;
    std::string file = folder.MakeFile("a.txt");
    std::string sub = folder.MakeDir("sub");
    EXPECT_EQ(DeriveInitDir(file), folder.Path());
    EXPECT_EQ(DeriveInitDir(sub), sub);
    EXPECT_EQ(DeriveInitDir(folder.Path() + "\\missing.txt"), "");
    EXPECT_EQ(DeriveInitDir(""), "");

    const std::string rootFile = "C:\\quorvel-gui-root-test.txt";
    HANDLE created = CreateFileA(rootFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);
    EXPECT_EQ(DeriveInitDir(rootFile), "C:\\");
    DeleteFileA(rootFile.c_str());
}

TEST(PathText, OverlongTextKeepsWholeCharactersAtBothEnds) {
    const std::string so = "ソ";  // 0x83 0x5C
    std::string many;
    for (int i = 0; i < 2000; ++i) many += so;
    std::string eighth;
    for (int i = 0; i < 128; ++i) eighth += so;
    const std::string ascii(3000, 'x');
    EXPECT_EQ(ShortenedForDrawing("C:\\" + so + ".txt"), "C:\\" + so + ".txt");
    EXPECT_EQ(ShortenedForDrawing(std::string(512, 'y')), std::string(512, 'y'));
    EXPECT_EQ(ShortenedForDrawing(ascii), std::string(256, 'x') + "..." + std::string(256, 'x'));
    // An odd start puts every cut one byte later, never inside a character.
    EXPECT_EQ(ShortenedForDrawing("a" + many), "a" + eighth + "..." + eighth);
}
