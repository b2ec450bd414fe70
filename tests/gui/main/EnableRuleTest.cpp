// The enable rule: Tag classes against the number of entries and the
// variable name, run by list clicks and by every change of the name.
#include "MainWindowFixture.h"

namespace quorvel::test {
namespace {

class EnableRuleTest : public MainWindowTest {
protected:
    // RemoveFiles, SetSyncFile, SaveList, UpBtn, DownBtn, Execute.
    std::vector<bool> RuledButtons() {
        TQuorvel& w = Window();
        return EnabledStates({&w.RemoveFiles, &w.SetSyncFile, &w.SaveList, &w.UpBtn, &w.DownBtn, &w.Execute});
    }
};

TEST_F(EnableRuleTest, FollowsTheEntryCountAndTheVariableName) {
    const auto files = MakeFiles({{"a.txt", "a"}, {"b.txt", "b"}});
    Type(Window().VariableName, "x");
    EXPECT_EQ(RuledButtons(), (std::vector<bool>{false, false, false, false, false, false})) << "empty list";

    AddThroughDialog({files[0]});
    EXPECT_EQ(RuledButtons(), (std::vector<bool>{true, true, true, false, false, false})) << "one entry";

    AddThroughDialog({files[1]});
    EXPECT_EQ(RuledButtons(), (std::vector<bool>{true, true, true, true, true, true})) << "two entries, a name";

    Type(Window().VariableName, "\b");
    EXPECT_EQ(RuledButtons(), (std::vector<bool>{true, true, true, true, true, false})) << "two entries, no name";
}

TEST_F(EnableRuleTest, ExecuteFollowsEveryKeystrokeAndABlankCounts) {
    AddThroughDialog({dir_.File("missing1.txt"), dir_.File("missing2.txt")});
    EXPECT_FALSE(IsWindowEnabled(Window().Execute.Handle()));
    Type(Window().VariableName, " ");
    EXPECT_TRUE(IsWindowEnabled(Window().Execute.Handle()));
    Type(Window().VariableName, "\b");
    EXPECT_FALSE(IsWindowEnabled(Window().Execute.Handle()));
}

TEST_F(EnableRuleTest, LeavesControlsWithoutAnEnableClassAlone) {
    TQuorvel& w = Window();
    w.AddFiles.SetEnabled(false);
    w.Label3.SetEnabled(false);
    Type(w.VariableName, "x");  // runs the rule
    EXPECT_FALSE(IsWindowEnabled(w.AddFiles.Handle()));
    EXPECT_FALSE(IsWindowEnabled(w.Label3.Handle()));
    EXPECT_TRUE(IsWindowEnabled(w.LoadList.Handle()));
}

TEST_F(EnableRuleTest, ClickInTheNameOrTheListRunsTheRule) {
    TQuorvel& w = Window();
    w.FileList.Items().Add("a");
    w.FileList.Items().Add("b");
    w.FileList.Items().Add("c");  // filled behind the rule's back
    ASSERT_FALSE(IsWindowEnabled(w.UpBtn.Handle()));
    SendMessageA(w.VariableName.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(w.VariableName.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    Pump();
    EXPECT_TRUE(IsWindowEnabled(w.UpBtn.Handle()));

    // A click on an entry runs it as well: with three entries still enabled, one removed behind its back.
    w.FileList.Items().Delete(1);
    ASSERT_TRUE(IsWindowEnabled(w.UpBtn.Handle()));
    w.FileList.Items().Delete(0);
    ClickEntry(0);
    EXPECT_FALSE(IsWindowEnabled(w.UpBtn.Handle()));
    EXPECT_TRUE(IsWindowEnabled(w.RemoveFiles.Handle()));
}

TEST_F(EnableRuleTest, NewestIndexIsZeroWhenNoListedFileExists) {
    const auto files = MakeFiles({{"old.txt", "o"}, {"new.txt", "n"}});
    AddThroughDialog({dir_.File("none1.txt"), files[0], files[1]});
    EXPECT_EQ(Window().Tag, 2);
    Window().FileList.Items().Clear();
    AddThroughDialog({dir_.File("none1.txt"), dir_.File("none2.txt")});
    EXPECT_EQ(Window().Tag, 0);
}

}  // namespace
}  // namespace quorvel::test
