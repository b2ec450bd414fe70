#include <gtest/gtest.h>

#include "EncodingErrors.h"
#include "Exceptions.h"
#include "SyncList.h"
#include "TextEncoding.h"
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

TEST(SyncList, FilesThatAreNoListsAreRefusedBeforeAnythingIsRead) {
  TestFolder folder;
  const std::string name = folder.Path("bad.lst");
  const std::string header = "V:v\r\nS:s\r\n[EOH]\r\n";
  const std::string longLine(3000000, 'x');
  const struct {
    std::string content;
    const char* reason;
  } cases[] = {
      {"", "空のファイルです"},
      {"\xEF\xBB\xBF", "空のファイルです"},
      {"V:v", "3 行目の [EOH] がありません"},
      {"V:v\r\nS:s\r\n", "3 行目の [EOH] がありません"},
      {"V:v\r\n" + longLine + "\r\n[EOH]\r\n", "2 行目が 32767 文字を超えています"},
      {header + "a.html\r\n" + std::string("b\0.html", 7) + "\r\nc.html\r\n", "5 行目に NUL 文字があります"},
      {std::string("V\0:\0v\0\r\0\n\0", 10), "BOM のない UTF-16 です"},
      {header + std::string(32768, 'e') + "\r\n", "4 行目が 32767 文字を超えています"},
      // Characters, not bytes, count: 32,768 two-byte characters in UTF-8.
      {header + [] {
         std::string line;
         for (int i = 0; i < 32768; ++i) line += u8"\u00E9";
         return line;
       }(), "4 行目が 32767 文字を超えています"},
  };
  for (const auto& c : cases) {
    WriteBytes(name, c.content);
    Loaded loaded;
    try {
      Load(name, loaded);
      ADD_FAILURE() << c.reason;
    } catch (const Exception& error) {
      EXPECT_STREQ(error.ClassName(), "Exception");
      EXPECT_EQ(error.Message(), "ファイル " + name + " は同期リストではありません（" + c.reason + "）");
    }
    EXPECT_EQ(loaded.variableName, "");
    EXPECT_EQ(loaded.sourceFileName, "");
    EXPECT_EQ(loaded.list.Items(), std::vector<std::string>{"old"});
  }
  // The longest path is still an entry.
  WriteBytes(name, header + std::string(32767, 'e'));
  Loaded loaded;
  Load(name, loaded);
  EXPECT_EQ(loaded.list.Items(), std::vector<std::string>{std::string(32767, 'e')});
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

namespace {

// One list's header keys and names, in one encoding.
struct ListSpelling {
  std::string variableKey, sourceKey, variable, source, first, second;
};
const ListSpelling kUtf8List{u8"変数:", u8"同期ﾌｧｲﾙ:", u8"メニュー", u8"ソース.html", u8"表示.html", u8"sub/能力.html"};
// "ソ", "表" and "能" end in 5C, the byte of "\".
const ListSpelling kSjisList{"\x95\xCF\x90\x94:",
                             "\x93\xAF\x8A\xFA\xCC\xA7\xB2\xD9:",
                             "\x83\x81\x83\x6A\x83\x85\x81\x5B",
                             "\x83\x5C\x81\x5B\x83\x58.html",
                             "\x95\x5C\x8E\xA6.html",
                             "sub/\x94\x5C\x97\xCD.html"};
const ListSpelling kEucList{"\xCA\xD1\xBF\xF4:",
                            "\xC6\xB1\xB4\xFC\x8E\xCC\x8E\xA7\x8E\xB2\x8E\xD9:",
                            "\xA5\xE1\xA5\xCB\xA5\xE5\xA1\xBC",
                            "\xA5\xBD\xA1\xBC\xA5\xB9.html",
                            "\xC9\xBD\xBC\xA8.html",
                            "sub/\xC7\xBD\xCE\xCF.html"};
const ListSpelling& kNativeList = NativeEncoding() == TextEncoding::ShiftJis ? kSjisList : kUtf8List;

std::string ListBytes(const ListSpelling& s, const std::string& lineBreak) {
  return s.variableKey + s.variable + lineBreak + s.sourceKey + s.source + lineBreak + "[EOH]" + lineBreak + s.first +
         lineBreak + lineBreak + s.second + lineBreak;
}

// UTF-16 as Notepad writes it: byte-order mark, CR LF.
std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

const std::u16string kUtf16List =
    u"変数:メニュー\r\n同期ﾌｧｲﾙ:ソース.html\r\n[EOH]\r\n表示.html\r\n\r\nsub/能力.html\r\n";

}  // namespace

TEST(SyncList, ListsInEveryEncodingGiveNamesInTheProgramsOwn) {
  TestFolder folder;
  const std::string name = folder.Path("any.lst");
  const struct {
    const char* encoding;
    std::string bytes;
  } cases[] = {
      {"UTF-8", ListBytes(kUtf8List, "\n")},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + ListBytes(kUtf8List, "\r\n")},
      {"Shift_JIS", ListBytes(kSjisList, "\r\n")},
      {"EUC-JP", ListBytes(kEucList, "\n")},
      {"UTF-16LE", Utf16Bytes(kUtf16List, false)},
      {"UTF-16BE", Utf16Bytes(kUtf16List, true)},
  };
  for (const auto& c : cases) {
    WriteBytes(name, c.bytes);
    Loaded loaded;
    Load(name, loaded);
    EXPECT_EQ(loaded.variableName, kNativeList.variable) << c.encoding;
    EXPECT_EQ(loaded.sourceFileName, kNativeList.source) << c.encoding;
    EXPECT_EQ(loaded.list.Items(), (std::vector<std::string>{kNativeList.first, kNativeList.second})) << c.encoding;
  }
}

TEST(SyncList, ListsInNoSingleEncodingKeepTheirBytes) {
  TestFolder folder;
  const std::string name = folder.Path("mixed.lst");
  // A Shift_JIS header over UTF-8 entries fits no encoding: read as today.
  const std::string mixed = ListBytes({kSjisList.variableKey, kSjisList.sourceKey, kSjisList.variable, "s.html",
                                       kUtf8List.first, "\xFF.html"},
                                      "\r\n");
  WriteBytes(name, mixed);
  Loaded loaded;
  Load(name, loaded);
  EXPECT_EQ(loaded.variableName, kSjisList.variable);
  EXPECT_EQ(loaded.list.Items(), (std::vector<std::string>{kUtf8List.first, "\xFF.html"}));
}

TEST(SyncList, NamesThatCannotBeConvertedNameTheLine) {
  TestFolder folder;
  const std::string name = folder.Path("bad.lst");
  std::string loneSurrogate = Utf16Bytes(u"V:v\r\nS:s\r\n[EOH]\r\na.html\r\nb", false);
  loneSurrogate += std::string("\x00\xD8", 2) + Utf16Bytes(u".html\r\n", false).substr(2);
  const struct {
    std::string bytes;
    std::string message;
  } cases[] = {
      {loneSurrogate, "ファイル " + name + " の 5 行目に UTF-16LE として読めないバイトがあります"},
      // Unassigned in CP932: nothing a file can be named with.
      {ListBytes(kSjisList, "\r\n") + "\x81\xAD\r\n",
       NativeEncoding() == TextEncoding::ShiftJis
           ? std::string()
           : "ファイル " + name + " の 7 行目に Shift_JIS として読めないバイトがあります"},
      // U+2603 has no place in Shift_JIS.
      {ListBytes(kUtf8List, "\r\n") + u8"\u2603.html\r\n",
       NativeEncoding() == TextEncoding::ShiftJis ? "ファイル " + name + " の 7 行目の文字 U+2603 は変換できません"
                                                  : std::string()},
  };
  for (const auto& c : cases) {
    WriteBytes(name, c.bytes);
    Loaded loaded;
    try {
      Load(name, loaded);
      EXPECT_EQ(c.message, "");  // the file API takes the list's own encoding
    } catch (const EEncodingError& error) {
      EXPECT_EQ(error.Message(), c.message);
      EXPECT_EQ(loaded.list.Items(), std::vector<std::string>{"old"});
    }
  }
}
