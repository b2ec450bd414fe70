#include "Application.h"
#include "DialogDriver.h"
#include "RecordingDialogs.h"
#include "stdDialogs.h"

#include <gtest/gtest.h>

using namespace gui;
using guitest::DialogDriver;

namespace {

struct TypeRow {
    TMsgDlgType type;
    UINT sound;
    const char* caption;
};

const TypeRow kRows[] = {
    {TMsgDlgType::mtWarning, MB_ICONEXCLAMATION, "警告"},
    {TMsgDlgType::mtError, MB_ICONHAND, "エラー"},
    {TMsgDlgType::mtInformation, MB_ICONASTERISK, "情報"},
    {TMsgDlgType::mtConfirmation, MB_ICONQUESTION, "確認"},
};

}  // namespace

TEST(DialogHelpers, EachTypeBeepsItsSoundAndTheCustomTypeNone) {
    guitest::RecordingDialogs dialogs;
    ScopedDialogs seam(dialogs);
    for (const TypeRow& row : kRows) DialogBeep(row.type);
    DialogBeep(TMsgDlgType::mtCustom);
    DialogBeep(static_cast<TMsgDlgType>(9));
    EXPECT_EQ(dialogs.beeps, (std::vector<UINT>{0x30, 0x10, 0x40, 0x20}));
}

TEST(DialogHelpers, ShowMsgBeepsThenShowsOneOkBoxWithTheTypesCaptionAndIcon) {
    for (const TypeRow& row : kRows) {
        guitest::RecordingDialogs dialogs;
        ScopedDialogs seam(dialogs);
        ShowMsg("本文", row.type, 0);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.beeps, std::vector<UINT>{row.sound});
        EXPECT_EQ(dialogs.boxes[0].Text, "本文");
        EXPECT_EQ(dialogs.boxes[0].Caption, row.caption);
        EXPECT_EQ(dialogs.boxes[0].Icon, row.sound);
        EXPECT_EQ(dialogs.boxes[0].Buttons, MessageBoxButtons::Ok);
    }
}

TEST(DialogHelpers, CustomTypeShowsTheBoxWithTheApplicationTitleAndNoSound) {
    guitest::RecordingDialogs dialogs;
    ScopedDialogs seam(dialogs);
    Application().Title = "クオーヴェル";
    ShowMsg("x", TMsgDlgType::mtCustom, 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.beeps.empty());
    EXPECT_EQ(dialogs.boxes[0].Caption, "クオーヴェル");
    EXPECT_EQ(dialogs.boxes[0].Icon, 0u);
}

TEST(DialogHelpers, AskYesNoIsTrueOnlyForYes) {
    guitest::RecordingDialogs dialogs;
    ScopedDialogs seam(dialogs);
    for (int answer : {IDYES, IDNO, IDCANCEL, 0}) {
        dialogs.boxAnswer = answer;
        EXPECT_EQ(AskYesNo("?", TMsgDlgType::mtConfirmation, 0), answer == IDYES);
    }
    EXPECT_EQ(dialogs.boxes.back().Buttons, MessageBoxButtons::YesNo);
}

// The real platform box, answered from a second thread.
TEST(DialogHelpersOnScreen, YesNoBoxShowsOurCaptionsAndAnswers) {
    Application().Initialize();
    {
        DialogDriver driver(DialogDriver::Press(IDYES));
        EXPECT_TRUE(AskYesNo("削除しますか？", TMsgDlgType::mtConfirmation, 0));
        const auto& seen = driver.Seen();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, "確認");
        EXPECT_TRUE(seen.HasText("はい(&Y)"));
        EXPECT_TRUE(seen.HasText("いいえ(&N)"));
        EXPECT_TRUE(seen.HasText("削除しますか？"));
    }
    {
        DialogDriver driver(DialogDriver::Press(IDNO));
        EXPECT_FALSE(AskYesNo("q", TMsgDlgType::mtConfirmation, 0));
        EXPECT_TRUE(driver.Seen().found);
    }
}

TEST(DialogHelpersOnScreen, EscapeAndTheCloseBoxAnswerNo) {
    Application().Initialize();
    {
        // What Escape sends in a dialog.
        DialogDriver driver([](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_FALSE(AskYesNo("q", TMsgDlgType::mtWarning, 0));
        EXPECT_TRUE(driver.Seen().found);
    }
    {
        DialogDriver driver([](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); });
        EXPECT_FALSE(AskYesNo("q", TMsgDlgType::mtWarning, 0));
        EXPECT_TRUE(driver.Seen().found);
    }
}

TEST(DialogHelpersOnScreen, MessageBoxHasOneOkButton) {
    Application().Initialize();
    DialogDriver driver(DialogDriver::Press(IDOK));
    ShowMsg("変数は同期されました。", TMsgDlgType::mtInformation, 0);
    const auto& seen = driver.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "情報");
    EXPECT_TRUE(seen.HasText("OK"));
    EXPECT_FALSE(seen.HasText("はい(&Y)"));
}
