// The program's one window: variable name, source file, the ordered file
// list, saving and loading that list, and the synchronisation run.
#pragma once

#include "FilePathEdit.h"
#include "Form.h"
#include "ListBox.h"
#include "StdCtrls.h"

namespace quorvel {

class TQuorvel : public gui::TForm {
public:
    TQuorvel();

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

private:
    void ConnectEvents();
    void SetProgramIcon();
};

}  // namespace quorvel
