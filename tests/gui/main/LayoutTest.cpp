// The window as created: frame, caption, place, font, and every control's
// place, caption, enable class, move delta, start state and tab order.
#include "MainWindowFixture.h"

namespace quorvel::test {
namespace {

TEST_F(MainWindowTest, WindowHasTheDialogFrameCaptionPlaceAndFont) {
    HWND window = Window().Handle();
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "クオーヴェル");

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 413);
    EXPECT_EQ(client.bottom, 234);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 265);
    EXPECT_EQ(outer.top, 166);

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_DLGFRAME);

    EXPECT_EQ(Window().Font().Name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(Window().Font().Height, 12);
    EXPECT_EQ(Window().Font().Charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(Window().Tag, 0);
}

struct ExpectedControl {
    gui::TControl* control;
    gui::TRect bounds;
    const char* caption;  // null: not checked
    int tag;
    int helpContext;
    bool enabled;
    int tabOrder;
};

TEST_F(MainWindowTest, ControlsFollowTheWindowDescriptionInCreationOrder) {
    TQuorvel& w = Window();
    const std::vector<ExpectedControl> expected = {
        {&w.Label1, {4, 4, 160, 12}, "同期する変数のあるファイル(&N)", 0, 0, true, -1},
        {&w.Label2, {4, 72, 84, 12}, "ファイルリスト(&F)", 0, 0, true, -1},
        {&w.Bevel1, {336, 168, 64, 2}, nullptr, 0, 0, true, -1},
        {&w.Bevel2, {324, 8, 2, 218}, nullptr, 0, 0, true, -1},
        {&w.Label3, {4, 52, 52, 12}, "変数名(&V)", 0, 0, true, -1},
        {&w.MainFile, {32, 20, 286, 21}, "", 0, 0, true, 0},
        {&w.FileList, {32, 88, 286, 138}, nullptr, 0, 0, true, 2},
        {&w.AddFiles, {332, 72, 77, 25}, "追加(&A)", 0, 0, true, 5},
        {&w.RemoveFiles, {332, 104, 77, 25}, "削除(&R)", 1, 0, false, 6},
        {&w.UpBtn, {340, 136, 25, 25}, "▲", 2, -1, false, 7},
        {&w.DownBtn, {376, 136, 25, 25}, "▼", 2, 1, false, 8},
        {&w.SetSyncFile, {332, 176, 77, 25}, "同期ﾌｧｲﾙ(&S)", 1, 0, false, 9},
        {&w.Execute, {332, 208, 77, 25}, "実行(&E)", 3, 0, false, 10},
        {&w.SaveList, {332, 4, 77, 25}, "ﾘｽﾄ保存(&S)", 1, 0, false, 3},
        {&w.LoadList, {332, 36, 77, 25}, "ﾘｽﾄ読込(&L)", 0, 0, true, 4},
        {&w.VariableName, {68, 48, 169, 20}, "", 0, 0, true, 1},
    };
    ASSERT_EQ(w.Controls().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ExpectedControl& e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(w.Controls()[i], e.control);
        RECT r{};
        GetWindowRect(e.control->Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, w.Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, e.bounds.Left);
        EXPECT_EQ(r.top, e.bounds.Top);
        EXPECT_EQ(r.right - r.left, e.bounds.Width);
        EXPECT_EQ(r.bottom - r.top, e.bounds.Height);
        if (e.caption) {
            EXPECT_EQ(e.control->Text(), e.caption);
        }
        EXPECT_EQ(e.control->Tag, e.tag);
        EXPECT_EQ(e.control->HelpContext, e.helpContext);
        EXPECT_EQ(IsWindowEnabled(e.control->Handle()) != FALSE, e.enabled);
        EXPECT_EQ(e.control->TabOrder(), e.tabOrder);
    }
    EXPECT_EQ(w.Label3.FocusControl, &w.VariableName);
    EXPECT_EQ(w.Label1.FocusControl, nullptr);
    EXPECT_EQ(w.Label2.FocusControl, nullptr);
    EXPECT_EQ(w.MainFile.ReferType(), gui::rtShowOpen);
}

TEST_F(MainWindowTest, TabKeyVisitsTheControlsInTabOrder) {
    TQuorvel& w = Window();
    // Enable every button so that none is skipped.
    MakeFiles({{"a.txt", "a"}, {"b.txt", "b"}});
    AddThroughDialog({dir_.File("a.txt"), dir_.File("b.txt")});
    Type(w.VariableName, "v");
    const std::vector<gui::TControl*> order = {&w.MainFile, &w.VariableName, &w.FileList, &w.SaveList,
                                               &w.LoadList, &w.AddFiles, &w.RemoveFiles, &w.UpBtn,
                                               &w.DownBtn, &w.SetSyncFile, &w.Execute};
    HWND current = order.front()->Handle();
    for (std::size_t i = 1; i <= order.size(); ++i) {
        current = GetNextDlgTabItem(w.Handle(), current, FALSE);
        EXPECT_EQ(current, order[i % order.size()]->Handle()) << "step " << i;
    }
}

}  // namespace
}  // namespace quorvel::test
