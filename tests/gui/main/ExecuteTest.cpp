// Running the synchronisation from the window: the missing-source question,
// the success message, and failures shown in the application's error box.
#include "MainWindowFixture.h"

#include <atomic>
#include <future>

#include "Application.h"
#include "SyncUnit.h"

namespace quorvel::test {
namespace {

const std::string kNewRegion = "<!-- %menu% -->\r\nnew menu\r\n<!-- %close menu% -->\r\n";
const std::string kOldRegion = "<!-- %menu% -->\r\nold\r\n<!-- %close menu% -->\r\n";

class ExecuteTest : public MainWindowTest {
protected:
    // Two targets and the newest file, which holds the current region.
    void SetUpFiles() {
        files_ = MakeFiles({{"one.html", "top\r\n" + kOldRegion + "end\r\n"},
                            {"two.html", kOldRegion},
                            {"source.html", "head\r\n" + kNewRegion}});
        AddThroughDialog(files_);
        Type(Window().VariableName, "menu");
    }
    std::vector<std::string> files_;
};

TEST_F(ExecuteTest, RunCopiesTheRegionAndAnnouncesIt) {
    SetUpFiles();
    Window().MainFile.SetText(files_[2]);
    Press(Window().Execute);

    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(ReadBytes(files_[0]), "top\r\n" + kNewRegion + "end\r\n");
    EXPECT_EQ(ReadBytes(files_[1]), kNewRegion);
    ASSERT_EQ(dialogs_.Boxes.size(), 1u);
    EXPECT_EQ(dialogs_.Boxes[0].Text, "変数は同期されました。");
    EXPECT_EQ(dialogs_.Boxes[0].Buttons, gui::MessageBoxButtons::Ok);
    EXPECT_EQ(dialogs_.Boxes[0].Icon, static_cast<UINT>(MB_ICONASTERISK));
}

TEST_F(ExecuteTest, MissingSourceAnsweredNoRunsNothing) {
    SetUpFiles();
    const std::string missing = dir_.File("missing.html");
    Window().MainFile.SetText(missing);
    dialogs_.BoxAnswers.push_back(IDNO);
    Press(Window().Execute);

    ASSERT_EQ(dialogs_.Boxes.size(), 1u) << "the question only, no message after it";
    EXPECT_EQ(dialogs_.Boxes[0].Text, "ファイルが設定されていません\rリスト内で最新のファイルを設定しますか？");
    EXPECT_EQ(dialogs_.Boxes[0].Buttons, gui::MessageBoxButtons::YesNo);
    EXPECT_EQ(Window().MainFile.Text(), missing);
    EXPECT_EQ(ReadBytes(files_[1]), kOldRegion);
}

// A source that names something unusable, a folder for instance, is never
// silently swapped for the newest file: the run says what is wrong.
TEST_F(ExecuteTest, UnusableSourceIsAnErrorNotAQuestion) {
    SetUpFiles();
    Window().MainFile.SetText(dir_.Path());
    Press(Window().Execute);

    EXPECT_TRUE(dialogs_.Boxes.empty());
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "ファイル " + dir_.Path() + " は開けません");
    EXPECT_EQ(ReadBytes(files_[1]), kOldRegion);
}

TEST_F(ExecuteTest, MissingSourceAnsweredYesTakesTheNewestEntry) {
    SetUpFiles();
    // The newest entry is not where the mark was computed: the run asks afresh.
    WriteBytes(files_[0], "lead\r\n" + kNewRegion);
    SetModified(files_[0], 2021, 1, 1, 0, 0, 0);
    ASSERT_EQ(Window().Tag, 2);
    dialogs_.BoxAnswers.push_back(IDYES);
    Press(Window().Execute);

    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(Window().MainFile.Text(), files_[0]);
    EXPECT_EQ(ReadBytes(files_[1]), kNewRegion);
    EXPECT_EQ(ReadBytes(files_[2]), "head\r\n" + kNewRegion);
    ASSERT_EQ(dialogs_.Boxes.size(), 2u);
    EXPECT_EQ(dialogs_.Boxes[1].Text, "変数は同期されました。");
    EXPECT_EQ(Window().Tag, 2) << "the newest index waits for the next run of the rule";
}

TEST_F(ExecuteTest, SourceFromBefore1980StillCountsAsAFile) {
    SetUpFiles();
    SetModified(files_[2], 1975, 6, 1, 12, 0, 0);
    Window().MainFile.SetText(files_[2]);
    Press(Window().Execute);
    ASSERT_EQ(dialogs_.Boxes.size(), 1u) << "no question for an existing source";
    EXPECT_EQ(dialogs_.Boxes[0].Text, "変数は同期されました。");
    EXPECT_EQ(ReadBytes(files_[1]), kNewRegion);
}

TEST_F(ExecuteTest, FailedRunShowsTheErrorAndAnnouncesNothing) {
    SetUpFiles();
    Window().MainFile.SetText(files_[1]);
    Window().VariableName.SetText("footer");  // no such region
    gui::Application().OnException = nullptr;  // the real standard handler, with its box behind the seam
    Press(Window().Execute);

    ASSERT_EQ(dialogs_.Boxes.size(), 1u);
    const gui::MessageBoxRequest& box = dialogs_.Boxes[0];
    EXPECT_EQ(box.Text, "変数が発見できませんでした。.");
    EXPECT_EQ(box.Caption, "クオーヴェル");
    EXPECT_EQ(box.Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.Buttons, gui::MessageBoxButtons::Ok);
    EXPECT_EQ(ReadBytes(files_[0]), "top\r\n" + kOldRegion + "end\r\n");
    EXPECT_TRUE(IsWindowEnabled(Window().Handle())) << "the window stays usable";
}

TEST_F(ExecuteTest, RunStoppedByAMissingTargetKeepsWhatWasWritten) {
    SetUpFiles();
    Window().FileList.Items().Insert(1, dir_.File("gone.html"));
    Window().MainFile.SetText(files_[2]);
    Press(Window().Execute);

    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "ファイル " + dir_.File("gone.html") + " は開けません");
    EXPECT_EQ(ReadBytes(files_[0]), "top\r\n" + kNewRegion + "end\r\n");
    EXPECT_EQ(ReadBytes(files_[1]), kOldRegion);
    EXPECT_TRUE(dialogs_.Boxes.empty()) << "no success message";
}

// The real engine behind a gate that the test opens: the run it starts is
// held until then, with the window in its busy state.
class HeldRunTest : public ExecuteTest {
protected:
    HeldRunTest() {
        Window().SyncEngine = [this, gate = gate_.get_future().share()](
                                  const std::string& name, const std::string& source, const TStrings& files) {
            ++runs_;
            gate.wait();
            BackgroundSync::RunEngine(name, source, files);
        };
    }
    ~HeldRunTest() override { Release(); }
    void StartHeld() {
        Window().MainFile.SetText(files_[2]);
        SendMessageA(Window().Execute.Handle(), BM_CLICK, 0, 0);
        Pump();
        ASSERT_TRUE(Window().Running());
    }
    void Release() {
        if (!released_) gate_.set_value();
        released_ = true;
        WaitForExecution(Window());
    }
    HCURSOR CursorOverWindow() {
        SendMessageA(Window().Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window().Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
    std::vector<bool> InputStates() {
        TQuorvel& w = Window();
        return EnabledStates({&w.MainFile, &w.FileList, &w.AddFiles, &w.RemoveFiles, &w.UpBtn, &w.DownBtn,
                              &w.SetSyncFile, &w.Execute, &w.SaveList, &w.LoadList, &w.VariableName});
    }
    std::atomic<int> runs_{0};

private:
    std::promise<void> gate_;
    bool released_ = false;
};

TEST_F(HeldRunTest, WindowIsBusyWhileTheRunWorksAndItselfAgainAfterwards) {
    SetUpFiles();
    const std::vector<bool> before = InputStates();
    StartHeld();
    EXPECT_EQ(InputStates(), std::vector<bool>(before.size(), false)) << "every input control disabled";
    EXPECT_TRUE(IsWindowEnabled(Window().Label3.Handle())) << "labels keep their look";
    EXPECT_EQ(CursorOverWindow(), LoadCursor(nullptr, IDC_WAIT));
    EXPECT_EQ(ReadBytes(files_[1]), kOldRegion) << "held before the first file";
    // The taskbar button shows none of the listed files done yet.
    ASSERT_NE(Window().Taskbar(), nullptr);
    EXPECT_EQ(Window().Taskbar()->Done(), 0);
    EXPECT_EQ(Window().Taskbar()->Total(), 3);
    RecordProperty("taskbar_offered", Window().Taskbar()->Offered() ? "yes" : "no");
    // The window answers and paints meanwhile: its thread is free.
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(Window().Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
    InvalidateRect(Window().FileList.Handle(), nullptr, TRUE);
    EXPECT_TRUE(GetUpdateRect(Window().FileList.Handle(), nullptr, FALSE));
    Pump();
    EXPECT_FALSE(GetUpdateRect(Window().FileList.Handle(), nullptr, FALSE)) << "the list was painted";

    // Nothing starts a second run or ends the window meanwhile.
    Window().ExecuteClick(Window().Execute);
    AltKey('E');
    SendMessageA(Window().Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(Window().Handle()));

    Release();
    EXPECT_EQ(runs_, 1);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(ReadBytes(files_[1]), kNewRegion);
    ASSERT_EQ(dialogs_.Boxes.size(), 1u);
    EXPECT_EQ(dialogs_.Boxes[0].Text, "変数は同期されました。");
    EXPECT_EQ(InputStates(), before);
    EXPECT_EQ(CursorOverWindow(), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(Window().Taskbar(), nullptr) << "the button's progress is gone";
    Type(Window().VariableName, "x");
    EXPECT_EQ(Window().Tag, FindNewestFile(Window().FileList.Items())) << "the mark follows what the run wrote";
}

TEST_F(HeldRunTest, PressWhileTheClosingOrErrorBoxIsOpenStartsNothing) {
    const struct {
        const char* variable;
        const char* box;
    } cases[] = {{"menu", "変数は同期されました。"}, {"footer", "変数が発見できませんでした。."}};
    gui::Application().OnException = nullptr;  // the standard error box, behind the seam
    int pressesWhileOpen = 0;
    dialogs_.WhileBoxOpen = [this, &pressesWhileOpen] {
        if (!IsWindowEnabled(Window().Execute.Handle())) return;
        ++pressesWhileOpen;
        SendMessageA(Window().Execute.Handle(), BM_CLICK, 0, 0);
    };
    SetUpFiles();
    StartHeld();
    Release();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variable);
        dialogs_.Boxes.clear();
        runs_ = 0;
        pressesWhileOpen = 0;
        Window().VariableName.SetText(c.variable);
        Press(Window().Execute);
        EXPECT_EQ(pressesWhileOpen, 1);
        EXPECT_EQ(runs_, 1);
        ASSERT_EQ(dialogs_.Boxes.size(), 1u);
        EXPECT_EQ(dialogs_.Boxes[0].Text, c.box);
    }
}

TEST(ErrorBoxText, AppendsAPeriodOnlyAfterBytesSortingAfterThePeriod) {
    EXPECT_EQ(gui::TApplication::ErrorText("ファイル x は開けません"), "ファイル x は開けません.");
    EXPECT_EQ(gui::TApplication::ErrorText("done."), "done.");
    EXPECT_EQ(gui::TApplication::ErrorText("a-"), "a-");
    EXPECT_EQ(gui::TApplication::ErrorText("a/"), "a/.");
    EXPECT_EQ(gui::TApplication::ErrorText(""), "");
}

}  // namespace
}  // namespace quorvel::test
