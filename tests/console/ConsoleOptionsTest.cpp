// The console program's options, each family on real files through the
// real program: exact output, exit status and what is (not) written.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

#include "ConsoleFixture.h"
#include "ConsoleOptions.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The line break the platform does not use, for "foreign" files.
const std::string kOtherNL = kNL == "\n" ? "\r\n" : "\n";

std::string Diff(const std::string& name, const std::string& hunks) {
  return "--- " + name + kNL + "+++ " + name + kNL + hunks;
}

// The flags a command line set, in the order of ConsoleOptions.
std::string ConsoleOptionsSet(const ConsoleOptions& o) {
  const std::pair<const char*, bool> flags[] = {
      {"check", o.check},   {"diff", o.diff},     {"strict", o.strict}, {"keep-eol", o.keepLineBreaks},
      {"atomic", o.atomic}, {"skip-unchanged", o.skipUnchanged}, {"quiet", o.quiet},
      {"help", o.help},     {"version", o.version}};
  std::string set;
  for (const auto& [name, on] : flags)
    if (on) set += (set.empty() ? "" : " ") + std::string(name);
  return set;
}

std::int64_t WriteTime(const std::string& name) {
  std::int64_t time = 0;
  EXPECT_TRUE(platform::FileWriteTime(name, time));
  return time;
}

}  // namespace

TEST_F(Console, CheckListsTargetsWhoseRegionDiffersAndWritesNothing) {
  const std::string src = Page("src.html", "%M%new%close M%" + kNL);
  const std::string same = Page("same.html", "a" + kNL + "%M%new%close M%" + kNL);
  const std::string foreign = Page("foreign.html", "a" + kOtherNL + "%M%new%close M%");  // breaks only differ
  const std::string drifted = Page("drifted.html", "%M%old%close M%");
  const std::string without = Page("without.html", "no region" + kNL);
  const std::string unclosed = Page("unclosed.html", "%M%new, but its end was lost" + kNL);
  const std::string inSync = List("in.lst", Header("M", src), {same, foreign});
  const std::string outOfSync = List("out.lst", Header("M", src), {same, drifted});
  const std::string broken = List("broken.lst", Header("M", without), {same});
  const std::string lacking = List("lacking.lst", Header("M", src), {same, without, unclosed});
  const std::string noRegion = "ファイル " + without + " には変数 M の範囲がありません" + kNL;
  const std::string noEnd = "ファイル " + unclosed + " の変数 M の範囲には終わりの印がありません" + kNL;
  const struct {
    std::vector<std::string> arguments;
    std::string output, errors;
    int exitCode;
  } cases[] = {
      {{"--check", inSync}, "", "", 0},
      {{"--check", outOfSync}, drifted + kNL, "", 1},
      {{"--check", "--quiet", outOfSync}, "", "", 1},
      // Standard output is data: errors go to standard error.
      {{"--check", broken}, "", "Exceptionｴﾗｰ:変数が発見できませんでした。" + kNL, 2},
      // A page whose markers are missing or broken is reported, never passed.
      {{"--check", lacking}, without + kNL + unclosed + kNL, noRegion + noEnd, 1},
      {{"--diff", lacking}, "", noRegion + noEnd, 1},
      {{"--check", "--strict", lacking},
       "",
       "Exceptionｴﾗｰ:次のファイルには変数 M の範囲がありません: " + without + ", " + unclosed + kNL,
       2},
  };
  for (const auto& c : cases) {
    const ChildResult result = Run(c.arguments);
    EXPECT_EQ(result.output, c.output) << c.arguments.back();
    EXPECT_EQ(result.errors, c.errors) << c.arguments.back();
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.back();
  }
  EXPECT_EQ(ReadBytes(drifted), "%M%old%close M%");
  EXPECT_EQ(ReadBytes(foreign), "a" + kOtherNL + "%M%new%close M%");
}

TEST_F(Console, DiffShowsWhatARunWouldChangeInTheTargetsOwnBytes) {
  const std::string src = Page("src.html", "%M%new%close M%" + kNL);
  const std::string native = Page("native.html", "top" + kNL + "%M%old%close M%" + kNL + "end" + kNL);
  const std::string foreign = Page("foreign.html", "top" + kOtherNL + "%M%old%close M%" + kOtherNL + "end");
  const std::string list = List("site.lst", Header("M", src), {native, foreign});
  const std::string nativeHunk = "@@ -1,3 +1,3 @@" + kNL + " top" + kNL + "-%M%old%close M%" + kNL +
                                 "+%M%new%close M%" + kNL + " end" + kNL;
  const std::string noBreak = kNL + "\\ No newline at end of file" + kNL;
  // A plain run would also give the foreign file the platform's breaks and
  // a final one; --keep-eol changes its region line only.
  const std::string foreignAll = "@@ -1,3 +1,3 @@" + kNL + "-top" + kOtherNL + "-%M%old%close M%" + kOtherNL +
                                 "-end" + noBreak + "+top" + kNL + "+%M%new%close M%" + kNL + "+end" + kNL;
  const std::string foreignKept = "@@ -1,3 +1,3 @@" + kNL + " top" + kOtherNL + "-%M%old%close M%" + kOtherNL +
                                  "+%M%new%close M%" + kOtherNL + " end" + noBreak;
  ChildResult result = Run({"--diff", list});
  EXPECT_EQ(result.output, Diff(native, nativeHunk) + Diff(foreign, foreignAll));
  EXPECT_EQ(result.exitCode, 1);
  result = Run({"--diff", "--keep-eol", list});
  EXPECT_EQ(result.output, Diff(native, nativeHunk) + Diff(foreign, foreignKept));
  EXPECT_EQ(ReadBytes(native), "top" + kNL + "%M%old%close M%" + kNL + "end" + kNL);
  // After a run there is nothing left to show.
  ASSERT_EQ(Run({"--keep-eol", "--quiet", list}).exitCode, 0);
  result = Run({"--diff", "--keep-eol", list});
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.exitCode, 0);
}

TEST_F(Console, StrictRefusesBeforeAnyWriteNamingEachTargetWithoutTheRegion) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string b = Page("b.html", "nothing");
  const std::string c = Page("c.html", "%M% opened but never closed");
  const ChildResult result = Run({"--strict", List("site.lst", Header("M", src), {a, b, c})});
  EXPECT_EQ(result.output, kSearching + "Exceptionｴﾗｰ:次のファイルには変数 M の範囲がありません: " + b + ", " + c);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
  const ChildResult fine = Run({"--strict", "--quiet", List("fine.lst", Header("M", src), {a})});
  EXPECT_EQ(fine.output, "");
  EXPECT_EQ(ReadBytes(a), "%M%new%close M%" + kNL);
}

TEST_F(Console, KeepEolKeepsEachTargetsBreaksAndItsLastLinesEnd) {
  const std::string src = Page("src.html", "<p>" + kNL + "%M%" + kNL + "1" + kNL + "2" + kNL + "%close M%" + kNL);
  const struct {
    const char* name;
    std::string before, after;
  } cases[] = {
      {"lf.html", "a\n%M%x%close M%\nb\n", "a\n%M%\n1\n2\n%close M%\nb\n"},
      {"crlf.html", "a\r\n%M%x%close M%\r\nb", "a\r\n%M%\r\n1\r\n2\r\n%close M%\r\nb"},
      {"cr.html", "%M%x%close M%\r", "%M%\r1\r2\r%close M%\r"},
      {"one.html", "%M%x%close M%", "%M%" + kNL + "1" + kNL + "2" + kNL + "%close M%"},
  };
  std::vector<std::string> targets;
  for (const auto& c : cases) targets.push_back(Page(c.name, c.before));
  const ChildResult result = Run({"--keep-eol", "--atomic", "--quiet", List("site.lst", Header("M", src), targets)});
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.exitCode, 0);
  for (const auto& c : cases) EXPECT_EQ(ReadBytes(folder.Path(c.name)), c.after) << c.name;
}

TEST_F(Console, AtomicRunChangesNothingWhenAnyTargetCannotBeWritten) {
  const std::string src = Page("src.html", "%M%" + std::string(16 * 1024 - 20, 'n') + "%close M%" + kNL);
  std::vector<std::string> targets;
#ifdef _WIN32
  for (const char* name : {"t1.html", "t2.html", "t3.html"}) targets.push_back(Page(name, "%M%old%close M%"));
  ASSERT_TRUE(::SetFileAttributesA(targets.back().c_str(), FILE_ATTRIBUTE_READONLY));
#else
  // A full disk: four targets on a 100 KB file system, each growing from
  // 12 KB to 16 KB. A plain run would fit; four prepared texts do not.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a small file system";
  const std::string disk = folder.Path("disk");
  ASSERT_TRUE(platform::ForceDirectories(disk));
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=100k") != 0) GTEST_SKIP() << "cannot mount tmpfs here";
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount(path.c_str()); }
  } unmount{disk};
  for (const char* name : {"disk/t1.html", "disk/t2.html", "disk/t3.html", "disk/t4.html"})
    targets.push_back(Page(name, "%M%" + std::string(12 * 1024 - 20, 'o') + "%close M%"));
#endif
  std::vector<std::string> before;
  for (const std::string& target : targets) before.push_back(ReadBytes(target));
  const std::string list = List("site.lst", Header("M", src), targets);
  const std::string folderBefore = ListFolder(platform::ExtractFilePath(targets[0]));
  const ChildResult result = Run({"--atomic", list});
  EXPECT_EQ(result.exitCode, 1);
  // It fails once earlier targets have their new texts ready.
  EXPECT_NE(result.output.find("EFCreateErrorｴﾗｰ:ファイル " + targets.back() + " を作成できません"), std::string::npos)
      << result.output;
  for (std::size_t i = 0; i < targets.size(); ++i) EXPECT_EQ(ReadBytes(targets[i]), before[i]) << targets[i];
  EXPECT_EQ(ListFolder(platform::ExtractFilePath(targets[0])), folderBefore);  // no temporary file left
}

TEST_F(Console, SkipUnchangedLeavesTargetsInSyncUntouched) {
  const std::string src = Page("src.html", "%M%new%close M%" + kNL);
  const std::string same = Page("same.html", "a" + kNL + "%M%new%close M%" + kNL);
  const std::string drifted = Page("drifted.html", "%M%old%close M%" + kNL);
  SetLocalWriteTime(same, {2020, 5, 6, 7, 8, 9});
  const std::int64_t sameTime = WriteTime(same);
#ifndef _WIN32
  const std::string link = folder.Path("link.html");
  ASSERT_EQ(::link(same.c_str(), link.c_str()), 0);
  struct stat info {};
  ASSERT_EQ(::stat(same.c_str(), &info), 0);
  const ino_t inode = info.st_ino;
#endif
  const ChildResult result = Run({"--skip-unchanged", List("site.lst", Header("M", src), {same, drifted})});
  EXPECT_EQ(result.output, kSearching + same + kNL + drifted + kNL + kFinished);
  EXPECT_EQ(WriteTime(same), sameTime);
  EXPECT_EQ(ReadBytes(drifted), "%M%new%close M%" + kNL);
#ifndef _WIN32
  ASSERT_EQ(::stat(same.c_str(), &info), 0);
  EXPECT_EQ(info.st_ino, inode);
  EXPECT_EQ(info.st_nlink, 2u);
#endif
}

TEST(ConsoleCommandLine, OptionsStandAnywhereBeforeTheDoubleDash) {
  const struct {
    std::vector<std::string> arguments;
    std::string options;             // the flags set, as ConsoleOptionsSet spells them
    std::vector<std::string> names;  // what is left: list file, variable name, ...
  } cases[] = {
      {{"--check", "site.lst"}, "check", {"site.lst"}},
      {{"site.lst", "--check"}, "check", {"site.lst"}},
      {{"site.lst", "--quiet", "menu", "--diff"}, "diff quiet", {"site.lst", "menu"}},
      {{"--", "--check", "site.lst"}, "", {"--check", "site.lst"}},
      {{"site.lst", "--atomic", "--", "-h", "--"}, "atomic", {"site.lst", "-h", "--"}},
      {{"-", "-h"}, "help", {"-"}},
      {{"--help", "--version"}, "help version", {}},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv{const_cast<char*>("Quorvel_con")};
    for (const std::string& argument : c.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    const ConsoleOptions options = ParseOptions(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(ConsoleOptionsSet(options), c.options) << c.arguments.front();
    EXPECT_EQ(options.arguments, c.names) << c.arguments.front();
  }
}

TEST_F(Console, UnknownOptionAnywhereFailsBeforeAnythingIsWritten) {
  const std::string src = Page("src.html", "%M%new%close M%");
  const std::string a = Page("a.html", "%M%old%close M%");
  const std::string list = List("site.lst", Header("M", src), {a});
  // A compare mode asked for, before or after the unknown option, keeps its
  // standard output for data.
  const struct {
    std::vector<std::string> arguments;
    const char* unknown;
    bool toErrors;
  } cases[] = {
      {{"--check", "--frobnicate", list}, "--frobnicate", true},
      {{list, "--bogus", "--diff"}, "--bogus", true},
      {{list, "--bogus"}, "--bogus", false},
      {{list, "M", "-c", "-d"}, "-c", false},
      {{"--check=yes", list}, "--check=yes", false},
      {{list, "--help", "-x"}, "-x", false},
  };
  for (const auto& c : cases) {
    const ChildResult result = Run(c.arguments);
    const std::string error =
        std::string("EOptionErrorｴﾗｰ:不明なオプション ") + c.unknown + " です。--help で使い方を表示します。";
    EXPECT_EQ(c.toErrors ? result.errors : result.output, c.toErrors ? error + kNL : error) << c.unknown;
    EXPECT_EQ(c.toErrors ? result.output : result.errors, "") << c.unknown;
    EXPECT_EQ(result.exitCode, 2);
  }
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
  // An option after the list file counts; after "--" it is a name.
  const ChildResult check = Run({list, "--check"});
  EXPECT_EQ(check.output, a + kNL);
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(ReadBytes(a), "%M%old%close M%");
  // After "--" every argument is a name, the variable's too.
  const std::string dashed = Page("dashed.html", "%--check%new%close --check%");
  const std::string b = Page("b.html", "%--check%old%close --check%");
  EXPECT_EQ(Run({"--", List("dashed.lst", Header("", dashed), {b}), "--check"}).output, kSearching + b + kNL + kFinished);
  EXPECT_EQ(ReadBytes(b), "%--check%new%close --check%" + kNL);
}

TEST_F(Console, HelpListsEveryOptionMinusHIsHelpVersionPrintsTheNumber) {
  const ChildResult help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--check", "--diff", "--strict", "--keep-eol", "--atomic", "--skip-unchanged", "--all",
                             "--relink", "--convert", "--quiet", "-h, --help", "--version"})
    EXPECT_NE(help.output.find(kNL + "  " + option + " "), std::string::npos) << option;
  EXPECT_EQ(Run({"-h"}).output, help.output);
  const ChildResult version = Run({"--version"});
  EXPECT_EQ(version.output, std::string("Quorvel_con ") + QUORVEL_VERSION + kNL);
  EXPECT_EQ(version.exitCode, 0);
}

#ifdef _WIN32
TEST_F(Console, HelpIsJapaneseWhereTheInterfaceLanguageIs) {
  // The tests' Wine prefix runs with LANG=ja_JP.UTF-8, which Wine reports
  // as a Japanese interface language.
  EXPECT_EQ(Run({"--help"}).output.rfind("使い方: Quorvel_con", 0), 0u);
}
#else
TEST_F(Console, HelpFollowsTheFirstLocaleVariableSet) {
  const char* const variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  const struct {
    const char* values[3];  // LC_ALL, LC_MESSAGES, LANG; nullptr: unset
    bool japanese;
  } cases[] = {
      {{nullptr, nullptr, nullptr}, false},
      {{nullptr, nullptr, "ja_JP.UTF-8"}, true},
      {{nullptr, nullptr, "ja"}, true},
      {{nullptr, nullptr, "jam"}, false},
      {{nullptr, "C", "ja_JP.UTF-8"}, false},
      {{"", "ja_JP.eucJP", "en_GB.UTF-8"}, true},  // an empty variable counts as unset
      {{"ja_JP.UTF-8", "en_US.UTF-8", "C"}, true},
      {{"C.UTF-8", nullptr, "ja_JP.UTF-8"}, false},
  };
  // The child inherits this process's environment, which is put back after.
  struct SavedEnvironment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    ~SavedEnvironment() {
      for (const auto& [name, value] : saved) value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
  } environment;
  for (const char* name : variables) {
    const char* value = std::getenv(name);
    environment.saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  for (const auto& c : cases) {
    for (int i = 0; i < 3; ++i) c.values[i] ? ::setenv(variables[i], c.values[i], 1) : ::unsetenv(variables[i]);
    const std::string help = Run({"--help"}).output;
    EXPECT_EQ(help.rfind(c.japanese ? "使い方: Quorvel_con" : "Usage: Quorvel_con", 0), 0u)
        << (c.values[0] ? c.values[0] : "-") << " " << (c.values[1] ? c.values[1] : "-") << " "
        << (c.values[2] ? c.values[2] : "-");
  }
}
#endif
