// Saving and loading sync list files: the prompt's settings, the file's
// bytes, the console program reading what the window wrote, and a failed
// load leaving the window as it was.
#include "MainWindowFixture.h"

#include <memory>
#include <type_traits>

namespace quorvel::test {
namespace {

using Strings = std::vector<std::string>;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ProcessHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// Runs the console program beside the tests with its output going to a file
// and returns its exit status.
DWORD RunConsoleProgram(const std::string& arguments, const std::string& outputFile) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    path = path.substr(0, path.find_last_of('\\') + 1) + "Quorvel_con.exe";
    std::string commandLine = "\"" + path + "\" " + arguments;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    ProcessHandle output(CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << path;
        return 255;
    }
    ProcessHandle processHandle(process.hProcess);
    ProcessHandle threadHandle(process.hThread);
    EXPECT_EQ(WaitForSingleObject(processHandle.get(), 60000), WAIT_OBJECT_0);
    DWORD status = 255;
    GetExitCodeProcess(processHandle.get(), &status);
    return status;
}

TEST_F(MainWindowTest, SavedListHasTheConsoleFormatAndTheConsoleRunsIt) {
    const std::string region = "%foot%\r\n(c) 2026 / $4\r\n%ここまで foot%\r\n";
    const auto files = MakeFiles({{"a.txt", "%foot%\r\nold\r\n%ここまで foot%\r\n"}, {"b.txt", region}});
    AddThroughDialog(files);
    Type(Window().VariableName, "foot");
    Window().MainFile.SetText(files[1]);
    const std::string list = dir_.File("saved.lst");
    dialogs_.FileAnswers.push_back(Strings{list});
    Press(Window().SaveList);

    const gui::OpenFileRequest& request = dialogs_.FileRequests.back();
    EXPECT_TRUE(request.Save);
    EXPECT_TRUE(request.OverwritePrompt);
    EXPECT_FALSE(request.MultiSelect);
    EXPECT_EQ(request.DefaultExt, "lst");
    EXPECT_EQ(request.Filter, "ﾘｽﾄﾌｧｲﾙ(*.lst)|*.lst");
    EXPECT_EQ(request.Title, "");
    EXPECT_EQ(request.FileName, "");
    EXPECT_EQ(request.InitialDir, "");
    EXPECT_EQ(ReadBytes(list), "変数:foot\r\n同期ﾌｧｲﾙ:" + files[1] + "\r\n[EOH]\r\n" + files[0] + "\r\n" + files[1] + "\r\n");

    const std::string output = dir_.File("console.out");
    EXPECT_EQ(RunConsoleProgram("\"" + list + "\"", output), 0u);
    EXPECT_EQ(ReadBytes(files[0]), region);
    EXPECT_NE(ReadBytes(output).find("終了しました。"), std::string::npos);
}

TEST_F(MainWindowTest, LoadReplacesListAndEditsAndMarksTheNewest) {
    const auto files = MakeFiles({{"x.txt", "x"}, {"y.txt", "y"}});
    AddThroughDialog({"stale entry"});
    const std::string list = dir_.File("in.lst");
    // As a user's editor may leave it: LF line breaks, no break after the last line.
    WriteBytes(list, "変数:menu\n同期ﾌｧｲﾙ:" + files[0] + "\n[EOH]\n" + files[1] + "\n" + files[0]);
    dialogs_.FileAnswers.push_back(Strings{list});
    Press(Window().LoadList);

    const gui::OpenFileRequest& request = dialogs_.FileRequests.back();
    EXPECT_FALSE(request.Save);
    EXPECT_FALSE(request.OverwritePrompt);
    EXPECT_EQ(request.DefaultExt, "lst");
    EXPECT_EQ(request.Filter, "ﾘｽﾄﾌｧｲﾙ(*.lst)|*.lst");

    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(Entries(), (Strings{files[1], files[0]}));
    EXPECT_EQ(Window().VariableName.Text(), "menu");
    EXPECT_EQ(Window().MainFile.Text(), files[0]);
    EXPECT_EQ(Window().Tag, 0) << "y.txt, now first, is the newest";
    EXPECT_TRUE(IsWindowEnabled(Window().Execute.Handle()));
}

// Watches a list box: entries added while its drawing is on.
class AddsWhileDrawing {
public:
    explicit AddsWhileDrawing(HWND list) : list_(list) {
        watcher_ = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AddsWhileDrawing::Procedure)));
    }
    ~AddsWhileDrawing() {
        SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        watcher_ = nullptr;
    }
    int adds = 0, addsWhileDrawing = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        AddsWhileDrawing& self = *watcher_;
        if (message == WM_SETREDRAW) self.drawing_ = wParam != FALSE;
        if (message == LB_ADDSTRING || message == LB_INSERTSTRING) {
            ++self.adds;
            self.addsWhileDrawing += self.drawing_;
        }
        return CallWindowProcA(self.previous_, window, message, wParam, lParam);
    }
    static inline AddsWhileDrawing* watcher_ = nullptr;
    HWND list_;
    WNDPROC previous_;
    bool drawing_ = true;
};

// Loading a list, or adding files, draws the list once at the end instead
// of once per entry.
TEST_F(MainWindowTest, LoadingAndAddingDrawTheListOnceAtTheEnd) {
    const auto files = MakeFiles({{"x.txt", "x"}, {"y.txt", "y"}});
    std::string text = "変数:menu\r\n同期ﾌｧｲﾙ:" + files[0] + "\r\n[EOH]\r\n";
    for (int i = 0; i < 300; ++i) text += files[i % 2] + "\r\n";
    const std::string list = dir_.File("many.lst");
    WriteBytes(list, text);
    AddsWhileDrawing watch(Window().FileList.Handle());
    dialogs_.FileAnswers.push_back(Strings{list});
    Press(Window().LoadList);
    AddThroughDialog(files);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(Entries().size(), 302u);
    EXPECT_EQ(watch.adds, 302);
    EXPECT_EQ(watch.addsWhileDrawing, 0);
}

TEST_F(MainWindowTest, FailedLoadKeepsTheWindowAsItWas) {
    const std::string longEntry(32768, 'x');
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no such file
        std::string message;               // the error's message starts with it
    } cases[] = {
        {"short.lst", "変数:other\r\n同期ﾌｧｲﾙ:elsewhere\r\n",
         "ファイル " + dir_.File("short.lst") + " は同期リストではありません（3 行目の [EOH] がありません）"},
        {"absent.lst", std::nullopt, "ファイル " + dir_.File("absent.lst") + " は開けません"},
        {"no-eoh.lst", "変数:other\r\n同期ﾌｧｲﾙ:elsewhere\r\nnew.txt\r\nmore.txt\r\n",
         "ファイル " + dir_.File("no-eoh.lst") + " は同期リストではありません（3 行目が [EOH] ではありません）"},
        // Longer than the longest path: no list, and nothing of it reaches the window.
        {"long.lst", "変数:other\r\n同期ﾌｧｲﾙ:elsewhere\r\n[EOH]\r\nnew.txt\r\n" + longEntry + "\r\n",
         "ファイル " + dir_.File("long.lst") + " は同期リストではありません（5 行目が 32767 文字を超えています）"},
    };
    AddThroughDialog({"kept", "kept too"});
    Type(Window().VariableName, "name");
    Window().MainFile.SetText("source");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        errors_.clear();
        const std::string list = dir_.File(c.name);
        if (c.bytes) WriteBytes(list, *c.bytes);
        dialogs_.FileAnswers.push_back(Strings{list});
        Press(Window().LoadList);
        ASSERT_EQ(errors_.size(), 1u);
        EXPECT_EQ(errors_[0].substr(0, c.message.size()), c.message);
        EXPECT_EQ(Entries(), (Strings{"kept", "kept too"}));
        EXPECT_EQ(Window().VariableName.Text(), "name");
        EXPECT_EQ(Window().MainFile.Text(), "source");
    }
}

TEST_F(MainWindowTest, CancelledPromptsChangeNothing) {
    AddThroughDialog({"a"});
    dialogs_.FileAnswers.push_back(std::nullopt);
    Press(Window().LoadList);
    dialogs_.FileAnswers.push_back(std::nullopt);
    Press(Window().SaveList);
    EXPECT_EQ(Entries(), (Strings{"a"}));
    EXPECT_TRUE(errors_.empty());
    EXPECT_TRUE(dialogs_.Boxes.empty());
}

TEST_F(MainWindowTest, SaveIntoAnUnwritablePlaceReportsTheError) {
    AddThroughDialog({"a"});
    const std::string list = dir_.File("no such folder\\x.lst");
    dialogs_.FileAnswers.push_back(Strings{list});
    Press(Window().SaveList);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "ファイル " + list + " を作成できません");
}

}  // namespace
}  // namespace quorvel::test
