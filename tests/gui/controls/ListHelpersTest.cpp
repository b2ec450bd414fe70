#include "Exceptions.h"
#include "ListBox.h"
#include "TestHost.h"
#include "stdVCLCtrl.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

class ListHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        form = guitest::MakeHostForm();
        list = &form->Make<TListBox>(TRect{8, 8, 200, 120});
        for (const char* entry : {"e0", "e1", "e2", "e3", "e4"}) list->Items().Add(entry);
    }
    std::vector<int> SelectedIndices() const {
        std::vector<int> selected;
        for (int i = 0; i < list->Items().Count(); ++i)
            if (list->Selected(i)) selected.push_back(i);
        return selected;
    }
    std::unique_ptr<TForm> form;
    TListBox* list = nullptr;
};

}  // namespace

TEST_F(ListHelpers, MoveUpFromTheFirstEntryWrapsAndUnselectsBothExchangedEntries) {
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    list->SetItemIndex(0);
    MoveListItem(*list, -1, true);
    EXPECT_EQ(list->Items().ToVector(), (std::vector<std::string>{"e4", "e1", "e2", "e3", "e0"}));
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(SelectedIndices(), std::vector<int>{2});
}

TEST_F(ListHelpers, MoveWithoutWrapAtTheEndExchangesTheEntryWithItself) {
    list->SetItemIndex(0);
    MoveListItem(*list, -1, false);
    EXPECT_EQ(list->Items().ToVector(), (std::vector<std::string>{"e0", "e1", "e2", "e3", "e4"}));
    EXPECT_EQ(list->ItemIndex(), 0);
}

TEST_F(ListHelpers, MoveDownFromTheLastEntryWrapsToTheFirst) {
    list->SetItemIndex(4);
    MoveListItem(*list, 1, true);
    EXPECT_EQ(list->Items().ToVector(), (std::vector<std::string>{"e4", "e1", "e2", "e3", "e0"}));
    EXPECT_EQ(list->ItemIndex(), 0);
}

TEST_F(ListHelpers, RepeatedMovesKeepMovingTheSameEntry) {
    list->Items().SetData(1, 41);
    list->SetItemIndex(1);
    MoveListItem(*list, 1, true);
    MoveListItem(*list, 1, true);
    EXPECT_EQ(list->Items().ToVector(), (std::vector<std::string>{"e0", "e2", "e3", "e1", "e4"}));
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->Items().Data(3), 41);  // attached data travels with its entry
}

TEST_F(ListHelpers, MoveOnAnEmptyListRaisesTheIndexError) {
    list->Items().Clear();
    EXPECT_THROW(MoveListItem(*list, 1, true), EStringListError);
}

TEST_F(ListHelpers, DeleteSelectedAcceptsAPositionPastTheNewEnd) {
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    list->SetItemIndex(3);
    ASSERT_NO_THROW(DeleteSelectedItems(*list));
    EXPECT_EQ(list->Items().ToVector(), (std::vector<std::string>{"e0", "e2", "e4"}));
    EXPECT_LT(list->ItemIndex(), 3);
    EXPECT_GE(list->ItemIndex(), 0);
}

TEST_F(ListHelpers, DeleteWithNothingSelectedKeepsEverything) {
    list->SetItemIndex(2);
    DeleteSelectedItems(*list);
    EXPECT_EQ(list->Items().Count(), 5);
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListHelpers, CurrentItemTextIsTheFocusedEntryWhetherSelectedOrNot) {
    list->SetSelected(1, true);
    list->SetSelected(2, true);
    list->SetItemIndex(3);
    EXPECT_EQ(CurrentItemText(*list), "e3");
}

TEST_F(ListHelpers, CurrentItemTextWithoutCurrentEntryIsEmpty) {
    auto& single = form->Make<TListBox>(TRect{220, 8, 100, 80}, TListBoxStyle{false, false, true, 12});
    single.Items().Add("only");
    ASSERT_EQ(single.ItemIndex(), -1);
    EXPECT_EQ(CurrentItemText(single), "");
    single.SetItemIndex(0);
    EXPECT_EQ(CurrentItemText(single), "only");
}

TEST_F(ListHelpers, ItemStoreReportsBadIndicesWithTheListMessage) {
    try {
        list->Items().Get(5);
        FAIL() << "no error";
    } catch (const EStringListError& error) {
        EXPECT_EQ(error.Message(), "リストのインデックスが範囲を超えています (5)");
    }
}
