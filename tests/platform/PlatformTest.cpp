#include <gtest/gtest.h>

#include "Platform.h"
#include "TestFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace platform;

TEST(PlatformFiles, ExistenceTellsFilesFromFolders) {
  TestFolder folder;
  WriteBytes(folder.Path("a.txt"), "x");
  EXPECT_TRUE(FileExists(folder.Path("a.txt")));
  EXPECT_FALSE(DirectoryExists(folder.Path("a.txt")));
  EXPECT_TRUE(DirectoryExists(folder.Dir()));
  EXPECT_FALSE(FileExists(folder.Dir()));
  EXPECT_FALSE(FileExists(folder.Path("missing.txt")));
  EXPECT_FALSE(FileExists(""));
}

TEST(PlatformFiles, FileAgeIsPackedLocalTimeOrMinusOne) {
  TestFolder folder;
  const std::string name = folder.Path("a.txt");
  WriteBytes(name, "x");
  const LocalTime when{2006, 3, 5, 14, 7, 11};
  SetLocalWriteTime(name, when);
  // 2006-03-05 14:07:10 (two-second resolution)
  const std::uint32_t expected = ((26u << 9 | 3u << 5 | 5u) << 16) | (14u << 11 | 7u << 5 | 5u);
  EXPECT_EQ(FileAge(name), static_cast<std::int32_t>(expected));
  EXPECT_EQ(FileAge(folder.Path("missing.txt")), -1);
  EXPECT_EQ(FileAge(folder.Dir()), -1);
}

TEST(PlatformFiles, ForceDirectoriesCreatesParents) {
  TestFolder folder;
  const std::string deep = folder.Path("a/b/c") + kPathDelimiter;
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(folder.Path("a/b/c")));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  WriteBytes(folder.Path("file"), "x");
  EXPECT_FALSE(ForceDirectories(folder.Path("file/sub")));
}

TEST(PlatformFiles, CopyReplacesTheDestination) {
  TestFolder folder;
  WriteBytes(folder.Path("from"), "new");
  WriteBytes(folder.Path("to"), "old content");
  EXPECT_TRUE(CopyFileReplacing(folder.Path("from"), folder.Path("to")));
  EXPECT_EQ(ReadBytes(folder.Path("to")), "new");
  EXPECT_FALSE(CopyFileReplacing(folder.Path("missing"), folder.Path("to2")));
}

TEST(PlatformReplace, WritesNewAndExistingFilesWithoutLeftovers) {
  TestFolder folder;
  const std::string name = folder.Path("t.txt");
  ASSERT_TRUE(ReplaceFileContents(name, "first", 5));
  EXPECT_EQ(ReadBytes(name), "first");
  ASSERT_TRUE(ReplaceFileContents(name, "2nd", 3));
  EXPECT_EQ(ReadBytes(name), "2nd");
  ASSERT_TRUE(ReplaceFileContents(name, "", 0));
  EXPECT_EQ(ReadBytes(name), "");
  EXPECT_EQ(ListFolder(folder.Dir()), "t.txt;");
}

TEST(PlatformReplace, FailureLeavesNothingBehind) {
  TestFolder folder;
  EXPECT_FALSE(ReplaceFileContents(folder.Path("no/such/dir.txt"), "x", 1));
  ForceDirectories(folder.Path("sub"));
  EXPECT_FALSE(ReplaceFileContents(folder.Path("sub"), "x", 1));  // a folder is not replaced
  EXPECT_TRUE(DirectoryExists(folder.Path("sub")));
  EXPECT_EQ(ListFolder(folder.Dir()), "sub;");
}

#ifdef _WIN32
TEST(PlatformReplace, ReadOnlyFileStaysUnchanged) {
  TestFolder folder;
  const std::string name = folder.Path("ro.txt");
  WriteBytes(name, "keep");
  ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(ReplaceFileContents(name, "lost", 4));
  EXPECT_EQ(ReadBytes(name), "keep");
  EXPECT_EQ(ListFolder(folder.Dir()), "ro.txt;");
}

TEST(PlatformPaths, TrailByteFiveCIsNoDelimiter) {
  // "ソ" is 83 5C in the ANSI code page 932.
  const std::string name = "C:\\\x83\x5C\x83\x74\x83\x67\\a.html";
  EXPECT_EQ(ExtractFilePath(name), "C:\\\x83\x5C\x83\x74\x83\x67\\");
  EXPECT_EQ(ExtractFileName(name), "a.html");
  EXPECT_EQ(ExtractFileName("C:a.html"), "a.html");
  EXPECT_EQ(IncludeTrailingDelimiter("C:\\dir"), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingDelimiter("C:\\"), "C:\\");
}

TEST(PlatformPaths, ForceDirectoriesKeepsAFolderNameEndingInTrailByteFiveC) {
  // A folder named "ソ" ends in 5C: trimming it as a delimiter would create "\x83" instead.
  TestFolder folder;
  const std::string so = folder.Path("\x83\x5C");
  EXPECT_EQ(ExcludeTrailingDelimiter(so + "\\", 3), so);
  EXPECT_EQ(ExcludeTrailingDelimiter(so, 3), so);
  EXPECT_EQ(ExcludeTrailingDelimiter("C:\\", 3), "C:\\");
  ASSERT_TRUE(ForceDirectories(so + "\\sub"));
  EXPECT_TRUE(DirectoryExists(so + "\\sub"));
}

TEST(PlatformPaths, ExpandFileNameCountsFromTheBaseAndKeepsTheCurrentDir) {
  const std::string before = GetCurrentDir();
  EXPECT_EQ(ExpandFileName("list.lst", "C:\\windows\\"), "C:\\windows\\list.lst");
  EXPECT_EQ(ExpandFileName("..\\list.lst", "C:\\windows\\"), "C:\\list.lst");
  EXPECT_EQ(ExpandFileName("C:\\x\\list.lst", "C:\\windows\\"), "C:\\x\\list.lst");
  EXPECT_EQ(GetCurrentDir(), before);
}
#else
TEST(PlatformReplace, KeepsPermissionsAndWritesThroughLinks) {
  TestFolder folder;
  const std::string real = folder.Path("real.txt");
  const std::string link = folder.Path("link.txt");
  WriteBytes(real, "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
  ASSERT_TRUE(ReplaceFileContents(link, "new", 3));
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadBytes(real), "new");
  EXPECT_EQ(ListFolder(folder.Dir()), "link.txt;real.txt;");
}

TEST(PlatformReplace, UnwritableFolderLeavesTheFileUnchanged) {
  // /proc refuses new files, so the temporary file cannot be made.
  EXPECT_FALSE(ReplaceFileContents("/proc/self/comm", "x", 1));
}

TEST(PlatformPaths, SlashIsTheOnlyDelimiter) {
  EXPECT_EQ(ExtractFilePath("/a/b:c/d.html"), "/a/b:c/");
  EXPECT_EQ(ExtractFileName("/a/b:c/d.html"), "d.html");
  EXPECT_EQ(ExtractFilePath("d.html"), "");
  EXPECT_EQ(IncludeTrailingDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingDelimiter("/"), "/");
}

TEST(PlatformPaths, ExpandFileNameCountsFromTheBaseAndKeepsTheCurrentDir) {
  const std::string before = GetCurrentDir();
  EXPECT_EQ(ExpandFileName("list.lst", "/opt/app/"), "/opt/app/list.lst");
  EXPECT_EQ(ExpandFileName("../x/./list.lst", "/opt/app/"), "/opt/x/list.lst");
  EXPECT_EQ(ExpandFileName("/etc/list.lst", "/opt/app/"), "/etc/list.lst");
  EXPECT_EQ(GetCurrentDir(), before);
}
#endif

TEST(PlatformProgram, ExecutablePathNamesThisTestProgram) {
  const std::string path = ExecutablePath();
  EXPECT_NE(ExtractFileName(path).find("platform_tests"), std::string::npos) << path;
  EXPECT_TRUE(FileExists(path));
  EXPECT_TRUE(DirectoryExists(ExtractFilePath(path)));
}

TEST(PlatformTime, PackingFollowsTheDosLayout) {
  EXPECT_EQ(PackDosDateTime({1980, 1, 1, 0, 0, 0}), static_cast<std::int32_t>((1u << 5 | 1u) << 16));
  EXPECT_EQ(PackDosDateTime({1979, 12, 31, 23, 59, 59}), -1);
  const LocalTime now = Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
}
