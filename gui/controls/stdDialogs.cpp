#include "stdDialogs.h"

#include "Application.h"
#include "DialogSeam.h"

#include <windows.h>

namespace gui {
namespace {

struct DialogTypeRow {
    UINT sound;  // 0: no sound
    const char* caption;  // null: the application title
    UINT icon;
};

DialogTypeRow RowFor(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return {MB_ICONEXCLAMATION, "警告", MB_ICONEXCLAMATION};
    case TMsgDlgType::mtError: return {MB_ICONHAND, "エラー", MB_ICONHAND};
    case TMsgDlgType::mtInformation: return {MB_ICONASTERISK, "情報", MB_ICONASTERISK};
    case TMsgDlgType::mtConfirmation: return {MB_ICONQUESTION, "確認", MB_ICONQUESTION};
    default: return {0, nullptr, 0};
    }
}

int ShowBox(const std::string& text, TMsgDlgType type, int helpContext, MessageBoxButtons buttons) {
    DialogBeep(type);
    MessageBoxRequest request;
    request.Owner = GetActiveWindow();
    request.Text = text;
    request.Caption = DialogCaption(type);
    request.Icon = RowFor(type).icon;
    request.Buttons = buttons;
    request.HelpContext = helpContext;
    return Dialogs().ShowMessageBox(request);
}

}  // namespace

std::string DialogCaption(TMsgDlgType type) {
    const char* caption = RowFor(type).caption;
    return caption ? caption : Application().Title;
}

void DialogBeep(TMsgDlgType type) {
    UINT sound = RowFor(type).sound;
    if (sound != 0) Dialogs().MessageBeep(sound);
}

void ShowMsg(std::string text, TMsgDlgType type, int helpContext) {
    ShowBox(text, type, helpContext, MessageBoxButtons::Ok);
}

bool AskYesNo(std::string text, TMsgDlgType type, int helpContext) {
    return ShowBox(text, type, helpContext, MessageBoxButtons::YesNo) == IDYES;
}

}  // namespace gui
