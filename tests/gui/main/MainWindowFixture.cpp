#include "MainWindowFixture.h"

#include "Application.h"

namespace quorvel::test {

void WaitForExecution(TQuorvel& window) {
    const DWORD deadline = GetTickCount() + 60000;
    gui::Application().ProcessMessages();
    while (window.Executing() && GetTickCount() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        gui::Application().ProcessMessages();
    }
    ASSERT_FALSE(window.Executing()) << "the run did not end";
}

MainWindowTest::MainWindowTest() {
    gui::Application().Initialize();
    gui::Application().Title = "クオーヴェル";
    gui::Application().OnException = [this](const std::exception& error) { errors_.push_back(error.what()); };
    window_ = std::make_unique<TQuorvel>();
    window_->Show();
    Pump();
}

MainWindowTest::~MainWindowTest() {
    window_.reset();
    Pump();
    gui::Application().OnException = nullptr;
}

void MainWindowTest::Pump() { gui::Application().ProcessMessages(); }

void MainWindowTest::Press(gui::TButton& button) {
    ASSERT_TRUE(IsWindowEnabled(button.Handle())) << button.Text() << " is disabled";
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    WaitForExecution(Window());
}

void MainWindowTest::Type(gui::TEdit& edit, const std::string& characters) {
    for (char c : characters) {
        SendMessageA(edit.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    Pump();
}

void MainWindowTest::ClickEntry(int index, bool withCtrl) {
    HWND list = Window().FileList.Handle();
    RECT item{};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)), LB_ERR);
    const LPARAM point = MAKELPARAM(item.left + 8, item.top + 3);
    const WPARAM keys = withCtrl ? MK_CONTROL : 0;
    SendMessageA(list, WM_LBUTTONDOWN, keys | MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, keys, point);
    Pump();
}

void MainWindowTest::AltKey(char letter) {
    HWND target = GetFocus() ? GetFocus() : Window().Handle();
    PostMessageA(target, WM_SYSCHAR, static_cast<unsigned char>(letter), LPARAM{1} << 29);
    Pump();
}

void MainWindowTest::AddThroughDialog(const std::vector<std::string>& files) {
    dialogs_.FileAnswers.push_back(files);
    Press(Window().AddFiles);
}

std::vector<std::string> MainWindowTest::Entries() { return Window().FileList.Items().ToVector(); }

std::vector<int> MainWindowTest::SelectedEntries() {
    std::vector<int> selected;
    for (int i = 0; i < Window().FileList.Items().Count(); ++i) {
        if (Window().FileList.Selected(i)) selected.push_back(i);
    }
    return selected;
}

std::vector<bool> MainWindowTest::EnabledStates(std::initializer_list<gui::TControl*> controls) {
    std::vector<bool> states;
    for (gui::TControl* control : controls) states.push_back(IsWindowEnabled(control->Handle()) != FALSE);
    return states;
}

std::vector<std::string> MainWindowTest::MakeFiles(
    const std::vector<std::pair<std::string, std::string>>& namesAndTexts) {
    std::vector<std::string> paths;
    WORD minute = 0;
    for (const auto& [name, text] : namesAndTexts) {
        const std::string path = dir_.File(name);
        WriteBytes(path, text);
        SetModified(path, 2020, 5, 1, 12, minute++, 0);
        paths.push_back(path);
    }
    return paths;
}

}  // namespace quorvel::test
