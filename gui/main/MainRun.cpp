// The synchronisation run started by "実行": the question for a missing
// source file, the run on its own thread with the window busy meanwhile, and
// the closing box or error box at its end.
#include "Main.h"

#include "Application.h"
#include "Platform.h"
#include "RunMessages.h"
#include "SyncUnit.h"
#include "stdDialogs.h"

namespace quorvel {

void TQuorvel::ExecuteClick(gui::TControl& /*Sender*/) {
    // One run at a time: a press while one works, or while its closing box
    // is open, starts nothing.
    if (executing_) return;
    executing_ = true;
    try {
        // Only a name that names nothing is replaced by the newest file: one
        // that names a folder or an unreadable file is never silently swapped
        // for another source, and the run says what is wrong with it. An
        // existing file always counts, whatever its date.
        if (platform::NamesNothing(MainFile.Text())) {
            if (!gui::AskYesNo("ファイルが設定されていません\rリスト内で最新のファイルを設定しますか？",
                               gui::TMsgDlgType::mtConfirmation)) {
                executing_ = false;
                return;
            }
            MainFile.SetText(FileList.Items().Get(FindNewestFile(FileList.Items())));
        }
        StartRun();
    } catch (...) {
        executing_ = false;
        throw;
    }
}

void TQuorvel::StartRun() {
    // The engine gets a copy of the entries: the list box belongs to this thread.
    TStringList files;
    for (int i = 0, count = FileList.Items().Count(); i < count; ++i) files.Add(FileList.Items().Get(i));
    const int listed = files.Count();
    busy_.emplace(*this);
    newest_.ForgetTimes();
    try {
        taskbar_.emplace(Handle());
        taskbar_->Show(0, listed);
        run_.Start(SyncEngine, VariableName.Text(), MainFile.Text(), std::move(files));
    } catch (...) {
        taskbar_.reset();
        busy_.reset();
        throw;
    }
    BusyWindow::RefreshCursor(Handle());
}

void TQuorvel::ShowRunProgress() {
    const int done = run_.TakeFilesDone();
    if (taskbar_) taskbar_->Show(done, run_.FilesListed());
}

void TQuorvel::RunFinished() {
    const std::exception_ptr error = run_.Finish();
    taskbar_.reset();
    busy_.reset();
    BusyWindow::RefreshCursor(Handle());
    // Until the box is closed, a press of "実行" still starts nothing.
    struct EndOfExecution {
        bool& executing;
        ~EndOfExecution() { executing = false; }
    } end{executing_};
    if (error) {
        gui::Application().HandleException(error);
        return;
    }
    gui::ShowMsg("変数は同期されました。", gui::TMsgDlgType::mtInformation);
    FileList.Repaint();
}

LRESULT TQuorvel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kRunProgressMessage:
        ShowRunProgress();
        return 0;
    case kRunDoneMessage:
        RunFinished();
        return 0;
    case WM_SETCURSOR:
        if (Running()) {
            BusyWindow::ShowBusyCursor();
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // Not while a run works (Close is greyed meanwhile): the run's thread
        // uses the engine until it ends.
        if (Running()) return 0;
        break;
    default:
        break;
    }
    return TForm::WndProc(message, wParam, lParam);
}

}  // namespace quorvel
