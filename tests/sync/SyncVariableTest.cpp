// Whole runs of the engine on real files through the real pattern library.
#include <gtest/gtest.h>

#include <vector>

#include "BRegExp.h"
#include "Exceptions.h"
#include "SyncUnit.h"
#include "TestFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

struct HookCall {
  std::string fileName;
  std::string command;
  std::int32_t index;
};
std::vector<HookCall> hookCalls;

void RecordHook(const std::string& fileName, const std::string& command, std::int32_t index) {
  hookCalls.push_back({fileName, command, index});
}

// Texts are written with "\n"; the engine's line break replaces it.
std::string Lines(std::string text) {
  std::string out;
  for (char c : text) out += c == '\n' ? kNL : std::string(1, c);
  return out;
}

class SyncRun : public ::testing::Test {
 protected:
  void SetUp() override {
    hookCalls.clear();
    OnSyncProgress = RecordHook;
  }
  void TearDown() override { OnSyncProgress = nullptr; }

  std::string File(const std::string& name, const std::string& content) {
    const std::string path = folder.Path(name);
    WriteBytes(path, content);
    return path;
  }
  // Synchronises one target with one source and returns the target's bytes.
  std::string SyncOne(const std::string& name, const std::string& source, const std::string& target) {
    const std::string src = File("src.txt", Lines(source));
    const std::string dst = File("dst.txt", Lines(target));
    SyncVariable(name, src, TStringList{dst}, false);
    return ReadBytes(dst);
  }

  TestFolder folder;
};

}  // namespace

TEST_F(SyncRun, CommentLinesAroundMarkersTravelWithTheRegion) {
  EXPECT_EQ(SyncOne("MENU", "head\n<!-- %MENU% -->\nNEW\n<!-- %close MENU% -->\ntail\n",
                    "top\n<!-- %MENU% -->\nOLD\n<!-- %close MENU% -->\nbottom\n"),
            Lines("top\n<!-- %MENU% -->\nNEW\n<!-- %close MENU% -->\nbottom\n"));
  // The target's own comment parts and keyword are replaced by the source's.
  EXPECT_EQ(SyncOne("M", "<!--%M%-->N<!--%close M%-->\n", "x <!-- a %M% b-->O<!--%ここまで M% c --> y\n"),
            Lines("x <!--%M%-->N<!--%close M%--> y\n"));
  // No comment: the region is marker to marker.
  EXPECT_EQ(SyncOne("M", "a%M%1\n2%ここまで M%b\n", "c%M%old%close M%d\n"), Lines("c%M%1\n2%ここまで M%d\n"));
}

TEST_F(SyncRun, OnlyTheFirstRegionCountsAndAMentionOpensIt) {
  EXPECT_EQ(SyncOne("M", "%M%1%close M% %M%2%close M%\n", "%M%a%close M%|%M%b%close M%\n"),
            Lines("%M%1%close M%|%M%b%close M%\n"));
  EXPECT_EQ(SyncOne("M", "%M%N%close M%\n", "see %M% below\n%M%old%close M%\nend\n"),
            Lines("see %M%N%close M%\nend\n"));
}

TEST_F(SyncRun, OnlyAnExactClosingMarkerCloses) {
  EXPECT_EQ(SyncOne("M", "%M%a%close  M%b%Close M%c%close m%d%closeM%e%close M%\n", "%M%x%close M%\n"),
            Lines("%M%a%close  M%b%Close M%c%close m%d%closeM%e%close M%\n"));
}

TEST_F(SyncRun, NamesAreTextWhateverTheyHold) {
  const struct {
    std::string name, decoy;
  } cases[] = {
      {"a.b", "axb"},
      {"a(b", "ab"},
      {"[x]*+?|$^\\/{1}", "x"},
      {"", "x"},
      {"\x83\x5C\x95\x5C", "\x83"},  // "ソ表": trail bytes 5C are no backslashes
      {"\xE3\x81\x82.", "\xE3\x81\x82x"},  // UTF-8 "あ.": a lone lead byte before "."
  };
  for (const auto& c : cases) {
    const auto region = [](const std::string& name, const std::string& content) {
      return "%" + name + "%" + content + "%close " + name + "%";
    };
    EXPECT_EQ(SyncOne(c.name, region(c.name, "N") + "\n", region(c.decoy, "D") + "\n" + region(c.name, "O") + "\n"),
              Lines(region(c.decoy, "D") + "\n" + region(c.name, "N") + "\n"))
        << c.name;
  }
}

TEST_F(SyncRun, TextBesideTheMarkersStaysWhereItIs) {
  // Only a comment enclosing a marker belongs to the region.
  EXPECT_EQ(SyncOne("M", "<!-- a --> x <!-- %M% -->\nNEW\n<!-- %close M% --> y <!-- b -->\n",
                    "<!-- note --> <p>keep</p> %M%\nOLD\n%close M% <b>keep</b> <!-- c -->\n"),
            Lines("<!-- note --> <p>keep</p> <!-- %M% -->\nNEW\n<!-- %close M% --> <b>keep</b> <!-- c -->\n"));
  EXPECT_EQ(SyncOne("M", "<!--%M%-->N<!--%close M%-->\n", "<!-- a <!-- b %M% c -->O<!-- %close M% d --> e -->\n"),
            Lines("<!--%M%-->N<!--%close M%--> e -->\n"));
}

TEST_F(SyncRun, MissingRegionOrSourceStopsBeforeTheHook) {
  const std::string src = File("src.txt", "%M%x%close N%");
  const std::string dst = File("dst.txt", "%M%y%close M%");
  try {
    SyncVariable("M", src, TStringList{dst}, false);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), "Exception");
    EXPECT_EQ(error.Message(), "変数が発見できませんでした。");
  }
  EXPECT_THROW(SyncVariable("M", folder.Path("missing"), TStringList{dst}, false), EFOpenError);
  EXPECT_EQ(ReadBytes(dst), "%M%y%close M%");
  EXPECT_TRUE(hookCalls.empty());
}

TEST_F(SyncRun, HookSeesCommandsAndListIndicesSkippingTheSource) {
  const std::string src = File("src.txt", "%M%a/b%close M%");
  const std::string t1 = File("t1.txt", "");
  const std::string t2 = File("t2.txt", "no region\rhere");
  SyncVariable("M", src, TStringList{t1, src, t2}, false);
  ASSERT_EQ(hookCalls.size(), 3u);
  EXPECT_EQ(hookCalls[0].fileName, src);
  EXPECT_EQ(hookCalls[0].index, -1);
  // "ここまで" in UTF-8, Shift_JIS and EUC-JP bytes.
  const std::string keywords = "(close|\xE3\x81\x93\xE3\x81\x93\xE3\x81\xBE\xE3\x81\xA7|\x82\xB1\x82\xB1\x82\xDC\x82\xC5|"
                               "\xA4\xB3\xA4\xB3\xA4\xDE\xA4\xC7)";
  EXPECT_EQ(hookCalls[0].command,
            "m/(<!--(?:(?!-->).)*?)?%(M)%((.|\\n)*?)%" + keywords + " \\2%((?:(?!<!--).)*?-->)?/k");
  EXPECT_EQ(hookCalls[1].fileName, t1);
  EXPECT_EQ(hookCalls[1].index, 0);
  EXPECT_EQ(hookCalls[1].command,
            "s/(<!--(?:(?!-->).)*?)?%(M)%((.|\\n)*?)%" + keywords + " \\2%((?:(?!<!--).)*?-->)?/%M%a\\/b%close M%/k");
  EXPECT_EQ(hookCalls[2].fileName, t2);
  EXPECT_EQ(hookCalls[2].index, 2);
  // Files without the region are rewritten normalised; an empty one stays empty.
  EXPECT_EQ(ReadBytes(t1), "");
  EXPECT_EQ(ReadBytes(t2), Lines("no region\nhere\n"));
  EXPECT_EQ(ReadBytes(src), "%M%a/b%close M%");  // skipped, not normalised
}

TEST_F(SyncRun, BlankEntriesAreSkipped) {
  const std::string src = File("src.txt", "%M%new%close M%");
  const std::string t = File("t.txt", "%M%old%close M%");
  SyncVariable("M", src, TStringList{"", t, " \t"}, false);
  ASSERT_EQ(hookCalls.size(), 2u);
  EXPECT_EQ(hookCalls[1].index, 1);
  EXPECT_EQ(ReadBytes(t), Lines("%M%new%close M%\n"));
}

TEST_F(SyncRun, EmptyListStillNeedsTheRegion) {
  const std::string src = File("src.txt", "%M%x%close M%");
  SyncVariable("M", src, TStringList{}, false);
  ASSERT_EQ(hookCalls.size(), 1u);
  EXPECT_EQ(hookCalls[0].index, -1);
}

// Recognised by what file it is, not by how it is written, the source is
// skipped as when listed under its own name: never rewritten, no hook call.
TEST_F(SyncRun, SourceUnderAnotherNameIsSkipped) {
  const std::string bytes = "a\r%M%x\ry%close M%\rb";
  const std::string src = File("src.txt", bytes);
  TStringList others{folder.Dir() + "." + platform::kPathDelimiter + "src.txt"};
#ifdef _WIN32
  ASSERT_TRUE(::CreateHardLinkA(folder.Path("hard.txt").c_str(), src.c_str(), nullptr));
#else
  ASSERT_EQ(::link(src.c_str(), folder.Path("hard.txt").c_str()), 0);
  ASSERT_EQ(::symlink("src.txt", folder.Path("soft.txt").c_str()), 0);
  others.Add(folder.Path("soft.txt"));
#endif
  others.Add(folder.Path("hard.txt"));
  SyncVariable("M", src, others, false);
  EXPECT_EQ(ReadBytes(src), bytes);
  EXPECT_EQ(hookCalls.size(), 1u);
}

TEST_F(SyncRun, RegionArrivesByteForByteWhateverItHolds) {
  const std::string special = "%M%$1 $& ${2} \\2 \\n \\\\ \\/ / $ \\%close M%";
  EXPECT_EQ(SyncOne("M", special + "\n", "<%M%old%close M%>\n"), Lines("<" + special + ">\n"));
  // Shift_JIS "ソ" and "表" end in 5C, which is no backslash there.
  const std::string sjis = "%M%\x83\x5C/\x95\x5C$1\x95\x5C\\%close M%";
  EXPECT_EQ(SyncOne("M", sjis + "\n", "x%M%old%close M%y\n"), Lines("x" + sjis + "y\n"));
  // A lone lead byte before "/" or "$" cannot be escaped for the library
  // (the backslash would pair with it); such a region is spliced in directly.
  const std::string lone = "%M%\x9E/\x9E$&%close M%";
  EXPECT_EQ(SyncOne("M", lone + "\n", "x%M%old%close M%y\n"), Lines("x" + lone + "y\n"));
  const std::string utf8 = "%M%日本語/English $1 語$&%close M%";
  EXPECT_EQ(SyncOne("M", utf8 + "\n", "x%M%old%close M%y\n%M%2nd%close M%\n"),
            Lines("x" + utf8 + "y\n%M%2nd%close M%\n"));
}

TEST_F(SyncRun, UnreadableTargetStopsTheRunThere) {
  const std::string src = File("src.txt", "%M%new%close M%");
  const std::string t1 = File("t1.txt", "%M%old%close M%");
  const std::string t3 = File("t3.txt", "%M%old%close M%");
  EXPECT_THROW(SyncVariable("M", src, TStringList{t1, folder.Path("missing"), t3}, false), EFOpenError);
  EXPECT_EQ(ReadBytes(t1), Lines("%M%new%close M%\n"));
  EXPECT_EQ(ReadBytes(t3), "%M%old%close M%");
  ASSERT_EQ(hookCalls.size(), 3u);
  EXPECT_EQ(hookCalls[2].index, 1);
}

TEST_F(SyncRun, TargetWithAZeroByteIsNeverRewritten) {
  const std::string src = File("src.txt", "%M%new%close M%");
  const std::string binary = std::string("%M%old%close M%\0tail", 20);
  const std::string t1 = File("t1.bin", binary);
  const std::string t2 = File("t2.txt", "%M%old%close M%");
  try {
    SyncVariable("M", src, TStringList{t1, t2}, false);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), "Exception");
    EXPECT_EQ(error.Message(), "ファイル " + t1 + " はテキストファイルではありません");
  }
  EXPECT_EQ(ReadBytes(t1), binary);
  EXPECT_EQ(ReadBytes(t2), "%M%old%close M%");
}

TEST_F(SyncRun, FailedWriteIsReportedAndStopsTheRun) {
  const std::string src = File("src.txt", "%M%new%close M%");
  const std::string t1 = File("t1.txt", "%M%old%close M%");
  const std::string t3 = File("t3.txt", "%M%old%close M%");
#ifdef _WIN32
  const std::string locked = File("ro.txt", "%M%old%close M%");
  ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
#else
  const std::string locked = "/proc/self/comm";  // readable, but no file can be made beside it
#endif
  try {
    SyncVariable("M", src, TStringList{t1, locked, t3}, false);
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + locked + " を作成できません");
  }
  EXPECT_EQ(ReadBytes(t1), Lines("%M%new%close M%\n"));
  EXPECT_EQ(ReadBytes(t3), "%M%old%close M%");
#ifdef _WIN32
  EXPECT_EQ(ReadBytes(locked), "%M%old%close M%");
  EXPECT_EQ(ListFolder(folder.Dir()), "ro.txt;src.txt;t1.txt;t3.txt;");
#endif
}

TEST_F(SyncRun, BackupsGoToAStampedFolderBesideTheSource) {
  const std::string src = File("src.txt", "%M%new%close M%");
  ASSERT_TRUE(platform::ForceDirectories(folder.Path("a")));
  ASSERT_TRUE(platform::ForceDirectories(folder.Path("b")));
  const std::string a = File("a/page.txt", "%M%from a%close M%");
  const std::string b = File("b/page.txt", "%M%from b%close M%");
  const std::string before = BackupFolderName(src);
  SyncVariable("M", src, TStringList{a, b}, true);
  std::string backup = before;
  if (!platform::DirectoryExists(backup)) backup = BackupFolderName(src);  // the minute turned
  ASSERT_TRUE(platform::DirectoryExists(backup));
  EXPECT_EQ(backup.substr(0, folder.Dir().size() + 6), folder.Dir() + "BackUp");
  EXPECT_EQ(backup.size(), folder.Dir().size() + 6 + 10 + 1);
  EXPECT_EQ(ListFolder(backup), "page.txt;");
  EXPECT_EQ(ReadBytes(backup + "page.txt"), "%M%from b%close M%");  // the later copy wins
  EXPECT_EQ(ReadBytes(b), Lines("%M%new%close M%\n"));
}
