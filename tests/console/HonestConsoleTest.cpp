// Runs that never report success for work they did not do, or did to the
// wrong files: the source, the list's folder, the checks and the patch.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "ConsoleFixture.h"
#include "Exceptions.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Case {
  std::string what;
  std::vector<std::string> arguments;
  std::string input;
  std::string output, errors;
  int exitCode;
};

using Runner = std::function<ChildResult(const std::vector<std::string>&, const std::string&)>;

void RunCases(const std::vector<Case>& cases, const Runner& run) {
  for (const Case& c : cases) {
    const ChildResult result = run(c.arguments, c.input);
    EXPECT_EQ(result.output, c.output) << c.what;
    EXPECT_EQ(result.errors, c.errors) << c.what;
    EXPECT_EQ(result.exitCode, c.exitCode) << c.what;
  }
}

}  // namespace

// The newest listed file stands in only for a source that names nothing,
// and never when checking or strict: in CI every checkout's files have the
// same time, so "newest" would be arbitrary.
TEST_F(Console, ASourceIsNeverSilentlyReplaced) {
  const std::string a = Page("a.html", "%M%old%close M%" + kNL);
  const std::string b = Page("b.html", "%M%new%close M%" + kNL);
  const std::string dir = folder.Path("dir");
  ASSERT_TRUE(platform::ForceDirectories(dir));
  const std::string missing = folder.Path("missing.html");
  const std::string folderSource = List("folder.lst", Header("M", dir), {a, b});
  const std::string missingSource = List("missing.lst", Header("M", missing), {a, b});
  const std::string cannotOpen = "EFOpenErrorｴﾗｰ:ファイル " + missing + " は開けません";
  // Too long for the system's names (a folder entry on Linux, a path on
  // Windows): it names something that cannot be read, not nothing.
  const std::string tooLong = folder.Path(std::string(300, 'n') + ".html");
  const std::string tooLongSource = List("long.lst", Header("M", tooLong), {a, b});
  RunCases({
               {"a folder", {folderSource}, "", "EFOpenErrorｴﾗｰ:ファイル " + dir + " は開けません", "", 1},
               {"a name too long", {tooLongSource}, "", "EFOpenErrorｴﾗｰ:ファイル " + ShortenedName(tooLong) + " は開けません", "", 1},
               {"--check", {"--check", missingSource}, "", "", cannotOpen + kNL, 2},
               {"--diff", {"--diff", missingSource}, "", "", cannotOpen + kNL, 2},
               {"--strict", {"--strict", missingSource}, "", cannotOpen, "", 1},
           },
           runner());
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%" + kNL);
}

// A check must not pass having checked nothing, or the wrong variable.
TEST_F(Console, ChecksFailWhenNothingOrTheWrongThingWasChecked) {
  const std::string src = Page("src.html", "%M%new%close M%%F%foot%close F%" + kNL);
  const std::string a = Page("a.html", "%M%old%close M%%F%old%close F%" + kNL);
  const std::string named = List("named.lst", Header("M", src), {a});
  const std::string unnamed = List("unnamed.lst", Header("", src), {a});
  const std::string empty = List("empty.lst", Header("M", src), {});
  const std::string mismatch =
      "Exceptionｴﾗｰ:リスト " + named + " の変数 M と、指定された変数 F が違います";
  const std::string noFiles = "Exceptionｴﾗｰ:リスト " + empty + " には同期するファイルがありません";
  const std::string nameBesideAll = "EOptionErrorｴﾗｰ:--all には変数名 F を指定できません。--help で使い方を表示します。";
  RunCases({
               {"no name, no input", {"--check", unnamed}, "", "", "変数名を入力してください。" + kNL +
                                                                 "Exceptionｴﾗｰ:変数名が指定されていません。" + kNL, 2},
               {"other name, check", {"--check", named, "F"}, "", "", mismatch + kNL, 2},
               {"other name, run", {named, "F"}, "", mismatch, "", 1},
               {"same name", {"--check", named, "M"}, "", a + kNL, "", 1},
               {"no files, check", {"--check", empty}, "", "", noFiles + kNL, 2},
               {"no files, strict", {"--strict", empty}, "", noFiles, "", 2},
               {"name beside --all", {"--all", unnamed, "F"}, "", nameBesideAll, "", 2},
               {"name beside --all, check", {"--check", "--all", named, "F"}, "", "", nameBesideAll + kNL, 2},
           },
           runner());
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%%F%old%close F%" + kNL);
}

// A strict run names every problem it found at once, not only the first.
TEST_F(Console, StrictRunNamesEveryProblemAtOnce) {
  const std::string src = Page("src.html", "%M%new%close M%" + kNL);
  const std::string lacking = Page("lacking.html", "no region" + kNL);
  const std::string broken = Page("broken.html", "%M%lost its end" + kNL);
  ASSERT_TRUE(platform::ForceDirectories(folder.Path("sub")));
  const std::string good = Page("good.html", "%M%old%close M%" + kNL);
  const std::string list = List("site.lst", Header("M", src), {lacking, "sub", broken, good});
  const ChildResult result = Run({"--strict", list});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.output, kSearching + "Exceptionｴﾗｰ:次のファイルには変数 M の範囲がありません: " + lacking + ", " + broken + kNL +
                               "EFOpenErrorｴﾗｰ:ファイル sub は開けません");
  EXPECT_EQ(ReadBytes(good), "%M%old%close M%" + kNL);
}

// A list found beside the program takes its relative names from its own
// folder, never from wherever the program was started.
TEST_F(Console, AListBesideTheProgramCountsFromItsOwnFolder) {
  const std::string programDir = platform::ExtractFilePath(ProgramPath());
  const std::string site = "quorvel-site-" + std::to_string(reinterpret_cast<std::uintptr_t>(&folder) % 100000);
  const std::string sep(1, platform::kPathDelimiter);
  ASSERT_TRUE(platform::ForceDirectories(programDir + site));
  WriteBytes(programDir + site + sep + "src.html", "%M%new%close M%" + kNL);
  WriteBytes(programDir + site + sep + "a.html", "%M%old%close M%" + kNL);
  WriteBytes(programDir + site + ".lst", Header("M", site + sep + "src.html") + site + sep + "a.html" + kNL);
  // A look-alike site in the folder the program is started from.
  ASSERT_TRUE(platform::ForceDirectories(folder.Path(site)));
  const std::string lookAlike = Page(site + sep + "a.html", "%M%mine%close M%" + kNL);
  Page(site + sep + "src.html", "%M%decoy%close M%" + kNL);
  const ChildResult result = Run({site + ".lst"});
  const std::string besideProgram = ReadBytes(programDir + site + sep + "a.html");
  for (const char* name : {"src.html", "a.html"}) platform::RemoveFile(programDir + site + sep + name);
  platform::RemoveFile(programDir + site + ".lst");
  std::remove((programDir + site).c_str());
#ifdef _WIN32
  ::RemoveDirectoryA((programDir + site).c_str());
#endif
  EXPECT_EQ(result.output, kSearching + site + sep + "a.html" + kNL + kFinished);
  EXPECT_EQ(besideProgram, "%M%new%close M%" + kNL);
  EXPECT_EQ(ReadBytes(lookAlike), "%M%mine%close M%" + kNL);
}

#ifndef _WIN32
// patch -p0 applies --diff's output whatever the names hold.
TEST_F(Console, PatchAppliesTheDiffOfNamesWithBlanks) {
  const std::string src = Page("src.html", "%M%new%close M%" + kNL);
  Page("my page.html", "%M%old%close M%" + kNL);
  Page("tab\there.html", "%M%old%close M%" + kNL);
  const std::string list = List("site.lst", Header("M", "src.html"), {"my page.html", "tab\there.html"});
  const ChildResult diff = Run({"--diff", list});
  EXPECT_EQ(diff.exitCode, 1);
  WriteBytes(folder.Path("site.patch"), diff.output);
  EXPECT_EQ(std::system(("cd '" + folder.Dir() + "' && patch -s -p0 <site.patch").c_str()), 0) << diff.output;
  EXPECT_EQ(ReadBytes(folder.Path("my page.html")), "%M%new%close M%" + kNL);
  EXPECT_EQ(ReadBytes(folder.Path("tab\there.html")), "%M%new%close M%" + kNL);
}
#endif

#ifdef _WIN32
// A file larger than a 32-bit program can hold is an error naming it, and
// whatever the run had prepared is removed.
TEST_F(Console, AFileTooLargeForMemoryIsAnErrorNamingIt) {
  if (sizeof(void*) > 4) GTEST_SKIP() << "a 64-bit build can hold it";
  const std::string big = folder.Path("big.html");
  {
    HANDLE file = ::CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 2200LL * 1000 * 1000;  // sparse where the file system allows
    ASSERT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
    ::CloseHandle(file);
  }
  const std::string src = Page("src.html", "%M%new%close M%" + kNL);
  const std::string a = Page("a.html", "%M%old%close M%" + kNL);
  const auto outOfMemory = [](const std::string& name) {
    return "EOutOfMemoryｴﾗｰ:メモリが不足しています（ファイル " + name + "）";
  };
  ChildResult result = Run({"--atomic", List("target.lst", Header("M", src), {a, big})});
  EXPECT_EQ(result.output, kSearching + a + kNL + big + kNL + outOfMemory(big));
  EXPECT_EQ(result.exitCode, 1);
  result = Run({List("source.lst", Header("M", big), {a})});
  EXPECT_EQ(result.output, outOfMemory(big));
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%" + kNL);
  platform::RemoveFile(big);
  EXPECT_EQ(ListFolder(folder.Dir()), "a.html;source.lst;src.html;target.lst;");
}
#endif
