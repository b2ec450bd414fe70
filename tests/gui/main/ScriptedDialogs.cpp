#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace quorvel::test {

void ScriptedDialogs::MessageBeep(UINT sound) { Beeps.push_back(sound); }

int ScriptedDialogs::ShowMessageBox(const gui::MessageBoxRequest& request) {
    Boxes.push_back(request);
    if (WhileBoxOpen) WhileBoxOpen();
    if (!BoxAnswers.empty()) {
        const int answer = BoxAnswers.front();
        BoxAnswers.pop_front();
        return answer;
    }
    if (request.Buttons == gui::MessageBoxButtons::YesNo) {
        ADD_FAILURE() << "unexpected question: " << request.Text;
        return IDNO;
    }
    return IDOK;
}

bool ScriptedDialogs::OpenFile(const gui::OpenFileRequest& request, std::vector<std::string>& files) {
    FileRequests.push_back(request);
    if (FileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return false;
    }
    const auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (!answer) return false;
    files = *answer;
    return true;
}

}  // namespace quorvel::test
