// Adding, removing, moving entries and taking one as the source file.
#include "MainWindowFixture.h"

namespace quorvel::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(MainWindowTest, AddAppendsInDialogOrderListsDuplicatesAndMovesOnlyTheFocus) {
    const auto files = MakeFiles({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
    AddThroughDialog({files[0]});
    ClickEntry(0);
    AddThroughDialog({files[2], files[1], files[0]});

    EXPECT_EQ(Entries(), (Strings{files[0], files[2], files[1], files[0]}));
    EXPECT_EQ(Window().FileList.ItemIndex(), 3);
    EXPECT_EQ(SelectedEntries(), (std::vector<int>{0})) << "adding selects nothing new";
    EXPECT_EQ(Window().Tag, 1) << "c.txt is the newest";

    const gui::OpenFileRequest& request = dialogs_.FileRequests.back();
    EXPECT_TRUE(request.MultiSelect);
    EXPECT_FALSE(request.Save);
    EXPECT_EQ(request.Filter, "すべてのファイル|*.*");
    EXPECT_EQ(request.DefaultExt, "");
    EXPECT_EQ(request.Title, "");
    EXPECT_TRUE(request.HideReadOnly);
    EXPECT_TRUE(request.Resizable);
}

TEST_F(MainWindowTest, CancelledAddChangesNothing) {
    AddThroughDialog({"x"});
    dialogs_.FileAnswers.push_back(std::nullopt);
    Press(Window().AddFiles);
    EXPECT_EQ(Entries(), (Strings{"x"}));
}

TEST_F(MainWindowTest, RemoveAsksWithThisForOneSelectedEntry) {
    AddThroughDialog({"a", "b", "c"});
    ClickEntry(1);
    dialogs_.BoxAnswers.push_back(IDYES);
    Press(Window().RemoveFiles);

    ASSERT_EQ(dialogs_.Boxes.size(), 1u);
    EXPECT_EQ(dialogs_.Boxes[0].Text, "このファイルを削除しますか？");
    EXPECT_EQ(dialogs_.Boxes[0].Buttons, gui::MessageBoxButtons::YesNo);
    EXPECT_EQ(dialogs_.Boxes[0].Icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(Entries(), (Strings{"a", "c"}));
}

TEST_F(MainWindowTest, RemoveAsksWithTheseForSeveralOrNoSelectedEntries) {
    AddThroughDialog({"a", "b", "c"});
    ClickEntry(0);
    ClickEntry(2, true);
    dialogs_.BoxAnswers.push_back(IDYES);
    Press(Window().RemoveFiles);
    EXPECT_EQ(dialogs_.Boxes.back().Text, "これらのファイルを削除しますか？");
    EXPECT_EQ(Entries(), (Strings{"b"}));
    EXPECT_FALSE(IsWindowEnabled(Window().UpBtn.Handle())) << "the rule ran after removing";

    ASSERT_TRUE(SelectedEntries().empty());
    dialogs_.BoxAnswers.push_back(IDYES);
    Press(Window().RemoveFiles);
    EXPECT_EQ(dialogs_.Boxes.back().Text, "これらのファイルを削除しますか？");
    EXPECT_EQ(Entries(), (Strings{"b"})) << "Yes with nothing selected deletes nothing";
}

TEST_F(MainWindowTest, RemoveAnsweredNoKeepsEverything) {
    AddThroughDialog({"a", "b"});
    ClickEntry(0);
    dialogs_.BoxAnswers.push_back(IDNO);
    Press(Window().RemoveFiles);
    EXPECT_EQ(Entries(), (Strings{"a", "b"}));
    EXPECT_EQ(SelectedEntries(), (std::vector<int>{0}));
}

TEST_F(MainWindowTest, UpWrapsFromTheFirstEntryAndKeepsMovingTheSameEntry) {
    AddThroughDialog({"a", "b", "c", "d"});
    ClickEntry(0);
    Press(Window().UpBtn);
    EXPECT_EQ(Entries(), (Strings{"d", "b", "c", "a"}));
    EXPECT_EQ(Window().FileList.ItemIndex(), 3);
    Press(Window().UpBtn);
    EXPECT_EQ(Entries(), (Strings{"d", "b", "a", "c"}));
    EXPECT_EQ(Window().FileList.ItemIndex(), 2);
    EXPECT_TRUE(Window().FileList.Focused());
}

TEST_F(MainWindowTest, DownWrapsFromTheLastEntryAndTheNewestMarkFollows) {
    const auto files = MakeFiles({{"old.txt", "o"}, {"mid.txt", "m"}, {"new.txt", "n"}});
    AddThroughDialog(files);
    ASSERT_EQ(Window().Tag, 2);
    ClickEntry(2);
    Press(Window().DownBtn);
    EXPECT_EQ(Entries(), (Strings{files[2], files[1], files[0]}));
    EXPECT_EQ(Window().FileList.ItemIndex(), 0);
    EXPECT_EQ(Window().Tag, 0);
    EXPECT_TRUE(SelectedEntries().empty()) << "both exchanged entries come out unselected";
}

TEST_F(MainWindowTest, SetSyncFileTakesTheFocusedEntryNotTheSelection) {
    AddThroughDialog({"a", "b", "c"});
    ClickEntry(0);
    ClickEntry(2, true);
    ClickEntry(1, true);
    ClickEntry(1, true);  // the focus stays on b, b is no longer selected
    ASSERT_EQ(SelectedEntries(), (std::vector<int>{0, 2}));
    ASSERT_EQ(Window().FileList.ItemIndex(), 1);
    const int tagBefore = Window().Tag;

    Press(Window().SetSyncFile);
    EXPECT_EQ(Window().MainFile.Text(), "b");
    EXPECT_EQ(Window().Tag, tagBefore);
    EXPECT_TRUE(dialogs_.Boxes.empty());
}

}  // namespace
}  // namespace quorvel::test
