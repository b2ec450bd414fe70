#include <gtest/gtest.h>

#include "Exceptions.h"
#include "SyncList.h"
#include "TestFolder.h"

namespace {

struct Loaded {
  std::string variableName = "stale";
  std::string sourceFileName = "stale";
  TStringList list{"old"};
};

void Load(const std::string& name, Loaded& loaded) {
  LoadSyncList(name, loaded.variableName, loaded.sourceFileName, loaded.list);
}

}  // namespace

TEST(SyncList, SavedFileHasTheHeaderAndOneEntryPerLine) {
  TestFolder folder;
  const std::string name = folder.Path("a.lst");
  const TStringList entries{"x.html", "", "sub/y.html"};
  SaveSyncList(name, "MENU", "x.html", entries);
  EXPECT_EQ(ReadBytes(name), "変数:MENU" + kNL + "同期ﾌｧｲﾙ:x.html" + kNL + "[EOH]" + kNL + "x.html" + kNL + kNL +
                                 "sub/y.html" + kNL);
  Loaded loaded;
  Load(name, loaded);
  EXPECT_EQ(loaded.variableName, "MENU");
  EXPECT_EQ(loaded.sourceFileName, "x.html");
  EXPECT_EQ(loaded.list.Items(), (std::vector<std::string>{"x.html", "sub/y.html"}));
}

TEST(SyncList, HeaderValuesFollowTheFirstColonAndAreCut) {
  TestFolder folder;
  const std::string name = folder.Path("a.lst");
  const std::string longValue(1200, 'v');
  WriteBytes(name, "no colon here\rkey:" + longValue + ":more\n[EOH] \r\nf1\n\n");
  Loaded loaded;
  Load(name, loaded);
  EXPECT_EQ(loaded.variableName, "no colon here");
  EXPECT_EQ(loaded.sourceFileName, longValue.substr(0, 999));
  EXPECT_EQ(loaded.list.Items(), (std::vector<std::string>{"f1"}));

  WriteBytes(name, std::string(1500, 'w') + "\n:C:\\a:b\n[EOH]");
  Load(name, loaded);
  EXPECT_EQ(loaded.variableName, std::string(999, 'w'));
  EXPECT_EQ(loaded.sourceFileName, "C:\\a:b");
  EXPECT_EQ(loaded.list.Count(), 0);  // exactly three lines
}

TEST(SyncList, ShortFilesRaiseWithTheMissingIndex) {
  TestFolder folder;
  const std::string name = folder.Path("short.lst");
  const struct {
    const char* content;
    const char* message;
    const char* variableName;
    const char* sourceFileName;
  } cases[] = {
      {"", "リストのインデックスが範囲を超えています (0)", "", ""},
      {"変数:V", "リストのインデックスが範囲を超えています (1)", "V", ""},
      {"変数:V\r\n同期ﾌｧｲﾙ:S\r\n", "リストのインデックスが範囲を超えています (0)", "V", "S"},
  };
  for (const auto& c : cases) {
    WriteBytes(name, c.content);
    Loaded loaded;
    try {
      Load(name, loaded);
      ADD_FAILURE() << c.content;
    } catch (const EStringListError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(loaded.variableName, c.variableName);
    EXPECT_EQ(loaded.sourceFileName, c.sourceFileName);
    EXPECT_EQ(loaded.list.Items(), std::vector<std::string>{"old"});
  }
}

TEST(SyncList, MissingFileEmptiesOutputsButNotTheList) {
  TestFolder folder;
  Loaded loaded;
  EXPECT_THROW(Load(folder.Path("missing.lst"), loaded), EFOpenError);
  EXPECT_EQ(loaded.variableName, "");
  EXPECT_EQ(loaded.sourceFileName, "");
  EXPECT_EQ(loaded.list.Items(), std::vector<std::string>{"old"});
}

TEST(SyncList, UnwritableListRaisesCreateErrorAndKeepsTheOldFile) {
  TestFolder folder;
  const std::string missingFolder = folder.Path("no/such.lst");
  try {
    SaveSyncList(missingFolder, "V", "S", TStringList{});
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "ファイル " + missingFolder + " を作成できません");
  }
  EXPECT_THROW(SaveSyncList(folder.Dir(), "V", "S", TStringList{}), EFCreateError);
  EXPECT_EQ(ListFolder(folder.Dir()), "");
}

TEST(SyncList, BlankEntryLinesNameNoFile) {
  TestFolder folder;
  const std::string name = folder.Path("a.lst");
  WriteBytes(name, "変数:V\n同期ﾌｧｲﾙ:S\n[EOH]\n\na.html\n \t\n\nb.html\n\n\n");
  Loaded loaded;
  Load(name, loaded);
  EXPECT_EQ(loaded.list.Items(), (std::vector<std::string>{"a.html", "b.html"}));
}

TEST(SyncList, HeaderWithoutItsEndMarkIsRefused) {
  // A forgotten "[EOH]" line would silently turn the first entry into the
  // header's end.
  TestFolder folder;
  const std::string name = folder.Path("a.lst");
  for (const char* third : {"first.html", "", "EOH", "[eoh]"}) {
    WriteBytes(name, std::string("変数:V\n同期ﾌｧｲﾙ:S\n") + third + "\nsecond.html\n");
    Loaded loaded;
    try {
      Load(name, loaded);
      ADD_FAILURE() << third;
    } catch (const Exception& error) {
      EXPECT_STREQ(error.ClassName(), "Exception");
      EXPECT_EQ(error.Message(), "ファイル " + name + " は同期リストではありません（3 行目が [EOH] ではありません）");
    }
    EXPECT_EQ(loaded.list.Items(), std::vector<std::string>{"old"});
  }
}
