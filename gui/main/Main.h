// The program's one window: variable name, source file, the ordered file
// list, saving and loading that list, and the synchronisation run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BackgroundSync.h"
#include "BusyWindow.h"
#include "FilePathEdit.h"
#include "Form.h"
#include "ListBox.h"
#include "NewestEntryTracker.h"
#include "StdCtrls.h"
#include "TaskbarProgress.h"

namespace quorvel {

class TQuorvel : public gui::TForm {
public:
    TQuorvel();
    ~TQuorvel() override;

    // Controls, in creation order (the order the enable rule visits them).
    gui::TLabel& Label1;
    gui::TLabel& Label2;
    gui::TBevel& Bevel1;
    gui::TBevel& Bevel2;
    gui::TLabel& Label3;
    gui::TFilePathEdit& MainFile;
    gui::TListBox& FileList;
    gui::TButton& AddFiles;
    gui::TButton& RemoveFiles;
    gui::TButton& UpBtn;
    gui::TButton& DownBtn;
    gui::TButton& SetSyncFile;
    gui::TButton& Execute;
    gui::TButton& SaveList;
    gui::TButton& LoadList;
    gui::TEdit& VariableName;

    // The enable rule; also stores the newest entry's index in Tag.
    void FileListClick(gui::TControl& Sender);
    void FileListDrawItem(gui::TListBox& Control, int Index, RECT Rect, UINT State, gui::TListItemCanvas& Canvas);
    void SaveListClick(gui::TControl& Sender);
    void LoadListClick(gui::TControl& Sender);
    void AddFilesClick(gui::TControl& Sender);
    void RemoveFilesClick(gui::TControl& Sender);
    void UpDownBtnClick(gui::TControl& Sender);
    void SetSyncFileClick(gui::TControl& Sender);
    void ExecuteClick(gui::TControl& Sender);
    // Files and folders dropped from the shell on the list.
    void FileListDropFiles(gui::TControl& Sender, const std::vector<std::string>& Files);

    // What a run calls on its own thread (tests hold a run through it).
    BackgroundSync::Engine SyncEngine = &BackgroundSync::RunEngine;
    // From a press of "実行" until its run has ended and its closing box or
    // error box is closed; a press meanwhile starts nothing.
    bool Executing() const { return executing_; }
    // While the run itself works (controls disabled, busy cursor).
    bool Running() const { return busy_.has_value(); }
    // The taskbar button's progress while a run works, else none.
    const TaskbarProgress* Taskbar() const { return taskbar_ ? &*taskbar_ : nullptr; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ConnectEvents();
    void SetProgramIcon();
    void AppendEntries(const std::vector<std::string>& entries, gui::TControl& sender);
    void StartRun();
    void ShowRunProgress();
    void RunFinished();

    NewestEntryTracker newest_;
    bool executing_ = false;
    std::optional<BusyWindow> busy_;
    std::optional<TaskbarProgress> taskbar_;
    BackgroundSync run_;  // last, so that a run still working is waited for first
};

}  // namespace quorvel
