// Answers the GUI's dialogs from a script and records what was asked, so a
// test drives the window without any real dialog.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DialogSeam.h"

namespace quorvel::test {

class ScriptedDialogs : public gui::PlatformDialogs {
public:
    // Answers for the next message boxes (IDYES, IDNO, IDOK); an unscripted
    // Yes/No box fails the test and answers No, an unscripted OK box is fine.
    std::deque<int> BoxAnswers;
    // Answers for the next file dialogs: the chosen files, or nothing for Cancel.
    std::deque<std::optional<std::vector<std::string>>> FileAnswers;

    // Runs while each message box is open (as a user acting meanwhile).
    std::function<void()> WhileBoxOpen;

    std::vector<gui::MessageBoxRequest> Boxes;
    std::vector<gui::OpenFileRequest> FileRequests;
    std::vector<UINT> Beeps;

    void MessageBeep(UINT sound) override;
    int ShowMessageBox(const gui::MessageBoxRequest& request) override;
    bool OpenFile(const gui::OpenFileRequest& request, std::vector<std::string>& files) override;
};

}  // namespace quorvel::test
