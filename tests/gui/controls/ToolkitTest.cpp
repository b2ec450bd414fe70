#include "Application.h"
#include "Exceptions.h"
#include "ListBox.h"
#include "RecordingDialogs.h"
#include "StdCtrls.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

using namespace gui;

namespace {

class Toolkit : public ::testing::Test {
protected:
    void SetUp() override { form = guitest::MakeHostForm(); }
    void TearDown() override { Application().OnException = nullptr; }
    void SendAlt(char letter) {
        MSG message{GetFocus() ? GetFocus() : form->Handle(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1u << 29, 0, {}};
        Application().DispatchOne(message);
    }
    std::unique_ptr<TForm> form;
};

}  // namespace

TEST_F(Toolkit, ChildrenStayInCreationOrderWhateverTheirTabOrder) {
    auto& first = form->Make<TButton>(TRect{0, 0, 50, 20}, "a");
    auto& second = form->Make<TLabel>(TRect{0, 30, 50, 20}, "b");
    auto& third = form->Make<TEdit>(TRect{0, 60, 50, 20});
    third.SetTabOrder(0);
    first.SetTabOrder(1);
    ASSERT_EQ(form->Controls().size(), 3u);
    EXPECT_EQ(form->Controls()[0], &first);
    EXPECT_EQ(form->Controls()[1], &second);
    EXPECT_EQ(form->Controls()[2], &third);
    // The dialog manager's Tab order follows the tab order.
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), third.Handle(), FALSE), first.Handle());
}

TEST_F(Toolkit, EditRaisesOnChangeOncePerRealChange) {
    auto& edit = form->Make<TEdit>(TRect{0, 0, 100, 20});
    int changes = 0;
    edit.OnChange = [&](TControl&) { ++changes; };
    edit.SetText("abc");
    edit.SetText("abc");
    EXPECT_EQ(changes, 1);
    edit.Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("x"));  // as typing does
    EXPECT_EQ(changes, 2);
}

TEST_F(Toolkit, AltLetterReachesTheFirstControlThatCanActOnIt) {
    auto& noTarget = form->Make<TLabel>(TRect{0, 0, 80, 16}, "ファイル(&F)");
    auto& label = form->Make<TLabel>(TRect{0, 20, 80, 16}, "変数名(&V)");
    auto& edit = form->Make<TEdit>(TRect{90, 20, 80, 20});
    label.FocusControl = &edit;
    auto& disabled = form->Make<TButton>(TRect{0, 50, 80, 24}, "同期ﾌｧｲﾙ(&S)");
    auto& enabled = form->Make<TButton>(TRect{90, 50, 80, 24}, "ﾘｽﾄ保存(&S)");
    int disabledClicks = 0, enabledClicks = 0;
    disabled.OnClick = [&](TControl&) { ++disabledClicks; };
    enabled.OnClick = [&](TControl&) { ++enabledClicks; };
    disabled.SetEnabled(false);
    (void)noTarget;

    SendAlt('f');  // the label has no focus control: nothing happens
    EXPECT_NE(GetFocus(), edit.Handle());
    SendAlt('v');
    EXPECT_EQ(GetFocus(), edit.Handle());
    SendAlt('s');
    EXPECT_EQ(disabledClicks, 0);
    EXPECT_EQ(enabledClicks, 1);
    disabled.SetEnabled(true);
    SendAlt('s');
    EXPECT_EQ(disabledClicks, 1);
    EXPECT_EQ(enabledClicks, 1);
}

TEST_F(Toolkit, AClickOnADisabledButtonIsIgnored) {
    auto& button = form->Make<TButton>(TRect{0, 0, 80, 24}, "x");
    int clicks = 0;
    button.OnClick = [&](TControl&) { ++clicks; };
    button.SetEnabled(false);
    button.Perform(BM_CLICK);
    guitest::Pump();
    EXPECT_EQ(clicks, 0);
}

TEST_F(Toolkit, ErrorsLeavingAnEventReachTheApplicationsHandler) {
    auto& button = form->Make<TButton>(TRect{0, 0, 80, 24}, "x");
    button.OnClick = [](TControl&) { throw EStringListError("リストのインデックスが範囲を超えています (3)"); };
    std::string reported;
    Application().OnException = [&](const std::exception& error) { reported = error.what(); };
    form->Perform(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button.Handle()));
    EXPECT_EQ(reported, "リストのインデックスが範囲を超えています (3)");
}

TEST_F(Toolkit, ErrorTextGetsAPeriodAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(TApplication::ErrorText("ファイル a は開けません"), "ファイル a は開けません.");
    EXPECT_EQ(TApplication::ErrorText("終了しました。"), "終了しました。.");
    EXPECT_EQ(TApplication::ErrorText("done."), "done.");
    EXPECT_EQ(TApplication::ErrorText("x!"), "x!");
    EXPECT_EQ(TApplication::ErrorText(""), "");
}

TEST_F(Toolkit, ListSelectionChangeRaisesOnClickAndOwnerDrawSeesEveryVisibleEntry) {
    auto& list = form->Make<TListBox>(TRect{0, 0, 120, 80});
    std::vector<int> drawn;
    list.OnDrawItem = [&](TListBox&, int index, RECT rect, UINT, TListItemCanvas& canvas) {
        drawn.push_back(index);
        canvas.FillRect(rect);
    };
    int clicks = 0;
    list.OnClick = [&](TControl&) { ++clicks; };
    list.Items().Add("a");
    list.Items().Add("b");
    guitest::Pump();
    list.Repaint();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
    RECT item{};
    list.Perform(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    list.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 2, item.top + 2));
    list.Perform(WM_LBUTTONUP, 0, MAKELPARAM(item.left + 2, item.top + 2));
    guitest::Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_EQ(list.ItemIndex(), 1);
}

TEST_F(Toolkit, MemoryFailuresShowTheProgramsOwnMessage) {
    guitest::RecordingDialogs dialogs;
    ScopedDialogs seam(dialogs);
    Application().HandleException(std::make_exception_ptr(std::bad_alloc()));
    Application().HandleException(std::make_exception_ptr(std::length_error("basic_string::_M_create")));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const auto& box : dialogs.boxes) EXPECT_EQ(box.Text, "メモリが不足しています.");
}
