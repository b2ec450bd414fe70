// A shown main window in the test process, driven through its real controls
// (button clicks, characters, mouse clicks on list entries, accelerator
// keys) with every dialog answered by ScriptedDialogs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

namespace quorvel::test {

// Handles messages until a press of "実行" has run its course (the run and
// its closing box, which a scripted or driven dialog answers).
void WaitForExecution(TQuorvel& window);

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    TQuorvel& Window() { return *window_; }

    // Handles every waiting message, as the message loop would.
    static void Pump();
    // Clicks an enabled button (a disabled one fails the test: the platform
    // would still deliver the click) and waits for a run it starts.
    void Press(gui::TButton& button);
    // Types characters into an edit, one WM_CHAR each (8 is Backspace).
    void Type(gui::TEdit& edit, const std::string& characters);
    // Clicks a list entry with the mouse, with Ctrl held when toggling.
    void ClickEntry(int index, bool withCtrl = false);
    // Alt and a letter, sent to the control that has the focus.
    void AltKey(char letter);

    // Adds files through "追加" and its dialog.
    void AddThroughDialog(const std::vector<std::string>& files);
    std::vector<std::string> Entries();
    std::vector<int> SelectedEntries();
    std::vector<bool> EnabledStates(std::initializer_list<gui::TControl*> controls);

    // Files with the given names and texts, last-write times one minute
    // apart in the order given (the last is the newest).
    std::vector<std::string> MakeFiles(const std::vector<std::pair<std::string, std::string>>& namesAndTexts);

    ScriptedDialogs dialogs_;
    std::vector<std::string> errors_;  // messages of errors that left a handler
    TempDir dir_;

private:
    gui::ScopedDialogs dialogScope_{dialogs_};
    std::unique_ptr<TQuorvel> window_;
};

}  // namespace quorvel::test
