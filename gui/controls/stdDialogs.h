// Message boxes with the dialog type's sound, caption and icon.
#pragma once

#include <string>

namespace gui {

enum class TMsgDlgType : int { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

// Plays the type's system sound; the custom type (and any other value) plays nothing.
void DialogBeep(TMsgDlgType type);
// A message with one OK button.
void ShowMsg(std::string text, TMsgDlgType type, int helpContext = 0);
// A Yes/No question; true exactly when the answer is Yes.
bool AskYesNo(std::string text, TMsgDlgType type, int helpContext = 0);

// The caption of a box of the given type ("警告", "エラー", "情報", "確認", or the application title).
std::string DialogCaption(TMsgDlgType type);

}  // namespace gui
