// Alt and a letter: offered to the controls in creation order; labels
// without a focus control do nothing, Alt+S presses SetSyncFile.
#include "MainWindowFixture.h"

namespace quorvel::test {
namespace {

TEST_F(MainWindowTest, AltVFocusesTheNameWhileAltNAndAltFMoveNothing) {
    Window().AddFiles.SetFocus();
    AltKey('n');
    EXPECT_TRUE(Window().AddFiles.Focused());
    AltKey('f');
    EXPECT_TRUE(Window().AddFiles.Focused());
    AltKey('v');
    EXPECT_TRUE(Window().VariableName.Focused());
}

TEST_F(MainWindowTest, AltSPressesSetSyncFileNeverSaveList) {
    AddThroughDialog({"first", "second"});
    Window().FileList.SetFocus();
    AltKey('s');
    EXPECT_EQ(Window().MainFile.Text(), "second");
    EXPECT_TRUE(dialogs_.FileRequests.size() == 1u) << "no save prompt was opened";
}

TEST_F(MainWindowTest, AcceleratorsOfDisabledButtonsDoNothing) {
    Window().VariableName.SetFocus();
    AltKey('s');
    AltKey('r');
    AltKey('e');
    EXPECT_TRUE(dialogs_.Boxes.empty());
    EXPECT_TRUE(dialogs_.FileRequests.empty());
    EXPECT_EQ(Window().MainFile.Text(), "");
}

TEST_F(MainWindowTest, AltLAndAltAOpenTheirDialogs) {
    dialogs_.FileAnswers.push_back(std::nullopt);
    AltKey('l');
    ASSERT_EQ(dialogs_.FileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.FileRequests[0].DefaultExt, "lst");
    dialogs_.FileAnswers.push_back(std::vector<std::string>{"z"});
    AltKey('a');
    EXPECT_EQ(Entries(), (std::vector<std::string>{"z"}));
}

TEST_F(MainWindowTest, ReturnAndEscapePressNoButton) {
    AddThroughDialog({"a", "b"});
    Window().FileList.SetFocus();
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        Pump();
    }
    EXPECT_TRUE(dialogs_.Boxes.empty());
    EXPECT_EQ(dialogs_.FileRequests.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(Window().Handle()));
}

}  // namespace
}  // namespace quorvel::test
