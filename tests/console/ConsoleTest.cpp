// Quorvel_con run as a child process on real files: exact output bytes and
// exit status.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include "ConsoleFixture.h"

TEST_F(Console, NoArgumentPrintsTheErrorAndFails) {
  const ChildResult result = Run({});
  EXPECT_EQ(result.output, "Exceptionｴﾗｰ:ファイルを指定してください。");
  EXPECT_EQ(result.exitCode, 1);
  // The usage goes aside, in the user's language.
  EXPECT_NE(result.errors.find("Quorvel_con"), std::string::npos) << result.errors;
  EXPECT_NE(result.errors.find("--help"), std::string::npos) << result.errors;
}

TEST_F(Console, RunPrintsEachWorkedFileAndTheClosingText) {
  const std::string src = Page("src.html", "<!-- %M% -->new<!-- %close M% -->");
  const std::string a = Page("a.html", "a <!-- %M% -->old<!-- %close M% --> a");
  const std::string b = Page("b.html", "b");
  const std::string list = List("site.lst", Header("M", src), {a, src, b});
  const ChildResult result = Run({list, "M"});
  EXPECT_EQ(result.output, kSearching + a + kNL + b + kNL + kFinished);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ReadBytes(a), "a <!-- %M% -->new<!-- %close M% --> a" + kNL);
  EXPECT_EQ(ReadBytes(b), "b" + kNL);
}

TEST_F(Console, RelativeNamesCountFromTheCurrentFolder) {
  Page("src.html", "%表示%new%close 表示%");
  Page("ソフト.html", "%表示%old%close 表示%");
  List("site.lst", Header("表示", "src.html"), {"ソフト.html"});
  const ChildResult result = Run({"site.lst"});
  EXPECT_EQ(result.output, kSearching + "ソフト.html" + kNL + kFinished);
  EXPECT_EQ(ReadBytes(folder.Path("ソフト.html")), "%表示%new%close 表示%" + kNL);
}

TEST_F(Console, EmptySecondArgumentIsAVariableName) {
  const std::string src = Page("src.html", "%%new%close %");
  const std::string a = Page("a.html", "%%old%ここまで %");
  const std::string list = List("site.lst", Header("", src), {a});
  const ChildResult result = Run({list, ""});
  EXPECT_EQ(result.output, kSearching + a + kNL + kFinished);
  EXPECT_EQ(ReadBytes(a), "%%new%close %" + kNL);
}

TEST_F(Console, MissingNameIsAskedFor) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string list = List("site.lst", Header("", src), {a});
  const ChildResult result = Run({list}, "M\n");
  EXPECT_EQ(result.output, kPrompt + kSearching + a + kNL + kFinished);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ReadBytes(a), "%M%new%close M%" + kNL);
}

TEST_F(Console, EmptyAnswerEndsQuietly) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string list = List("site.lst", Header("", "missing.html"), {a, src});
  for (const char* input : {"", "\n"}) {
    const ChildResult result = Run({list}, input);
    EXPECT_EQ(result.output, kPrompt);
    EXPECT_EQ(result.exitCode, 0);
  }
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
}

TEST_F(Console, MissingSourceIsTheNewestListedFile) {
  const std::string older = Page("older.html", "%M%old%close M%");
  const std::string newer = Page("newer.html", "%M%new%close M%");
  SetLocalWriteTime(older, {2020, 1, 1, 0, 0, 0});
  SetLocalWriteTime(newer, {2021, 1, 1, 0, 0, 0});
  const std::string list = List("site.lst", Header("M", folder.Path("gone.html")), {older, newer});
  const ChildResult result = Run({list});
  EXPECT_EQ(result.output, kSearching + older + kNL + kFinished);
  EXPECT_EQ(ReadBytes(older), "%M%new%close M%" + kNL);
}

TEST_F(Console, EmptyListWithoutSourceReportsTheIndex) {
  const std::string list = List("site.lst", Header("M", ""), {});
  const ChildResult result = Run({list});
  EXPECT_EQ(result.output, "EStringListErrorｴﾗｰ:リストのインデックスが範囲を超えています (0)");
  EXPECT_EQ(result.exitCode, 1);
}

TEST_F(Console, ErrorMidListKeepsEarlierFilesWritten) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string c = Page("c.html", "%M%old%close M%");
  const std::string missing = folder.Path("missing.html");
  const std::string list = List("site.lst", Header("M", src), {a, missing, c});
  const ChildResult result = Run({list});
  EXPECT_EQ(result.output, kSearching + a + kNL + missing + kNL + "EFOpenErrorｴﾗｰ:ファイル " + missing + " は開けません");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(ReadBytes(a), "%M%new%close M%" + kNL);
  EXPECT_EQ(ReadBytes(c), "%M%old%close M%");
}

TEST_F(Console, RegionNotFoundFails) {
  const std::string src = Page("src.html", "nothing");
  const std::string list = List("site.lst", Header("M", src), {});
  const ChildResult result = Run({list});
  EXPECT_EQ(result.output, "Exceptionｴﾗｰ:変数が発見できませんでした。");
  EXPECT_EQ(result.exitCode, 1);
}

TEST_F(Console, ListFileIsFoundBesideTheProgram) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string name = "quorvel-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(&folder) % 100000) + ".lst";
  const std::string besideProgram = platform::ExtractFilePath(ProgramPath()) + name;
  WriteBytes(besideProgram, Header("M", src) + a + kNL);
  const ChildResult result = Run({name});
  std::remove(besideProgram.c_str());
  EXPECT_EQ(result.output, kSearching + a + kNL + kFinished);

  const ChildResult missing = Run({"no-such-list.lst"});
  EXPECT_EQ(missing.output,
            "EFOpenErrorｴﾗｰ:ファイル " + platform::ExtractFilePath(ProgramPath()) + "no-such-list.lst は開けません");
  EXPECT_EQ(missing.exitCode, 1);
}

TEST_F(Console, ListFileFaultsAreHandledBeforeAnyWrite) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string b = Page("b.html", "%M%old%close M%");
  // Without its "[EOH]" line the list is refused, naming it.
  const std::string noEnd = Page("noend.lst", "変数:M" + kNL + "同期ﾌｧｲﾙ:" + src + kNL + a + kNL + b + kNL);
  const ChildResult refused = Run({noEnd});
  EXPECT_EQ(refused.output, "Exceptionｴﾗｰ:ファイル " + noEnd + " は同期リストではありません（3 行目が [EOH] ではありません）");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
  // An entry longer than the longest path is no file name: the list is
  // refused with its line, as the window refuses it; the longest loads.
  const std::string tooLong = List("long.lst", Header("M", src), {a, std::string(32768, 'x'), b});
  const ChildResult refusedLong = Run({tooLong});
  EXPECT_EQ(refusedLong.output,
            "Exceptionｴﾗｰ:ファイル " + tooLong + " は同期リストではありません（5 行目が 32767 文字を超えています）");
  EXPECT_EQ(refusedLong.exitCode, 1);
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
  const ChildResult longest = Run({"--check", List("longest.lst", Header("M", src), {std::string(32767, 'x')})});
  EXPECT_EQ(longest.errors.find("同期リストではありません"), std::string::npos) << longest.errors.substr(0, 200);
  // Blank lines among and after the entries name no file.
  const std::string blanks = List("blanks.lst", Header("M", src), {"", a, "  ", b, "", ""});
  const ChildResult run = Run({blanks});
  EXPECT_EQ(run.output, kSearching + a + kNL + b + kNL + kFinished);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadBytes(b), "%M%new%close M%" + kNL);
}

#ifndef _WIN32
TEST_F(Console, PipesAndDevicesAreRefusedUntouched) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string b = Page("b.html", "%M%old%close M%");
  const std::string fifo = folder.Path("pipe.html");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const std::string openError = "EFOpenErrorｴﾗｰ:ファイル " + fifo + " は開けません";
  // As a target, as the source, and as the list file itself.
  const ChildResult target = Run({List("t.lst", Header("M", src), {a, fifo, b})});
  EXPECT_EQ(target.output, kSearching + a + kNL + fifo + kNL + openError);
  EXPECT_EQ(target.exitCode, 1);
  EXPECT_EQ(ReadBytes(b), "%M%old%close M%");
  EXPECT_EQ(Run({List("s.lst", Header("M", fifo), {a})}).output, openError);
  EXPECT_EQ(Run({fifo}).output, openError);
  struct stat info {};
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(Console, FailingOutputStopsTheRunBeforeTheFirstFile) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string list = List("site.lst", Header("M", src), {a});
  const std::string command = "'" + ProgramPath() + "' '" + list + "' >/dev/full 2>/dev/null";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
}
#endif
