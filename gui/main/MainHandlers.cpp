// What the window's buttons, list and edits do.
#include "Main.h"

#include "EnableRule.h"
#include "ListFilePrompt.h"
#include "Platform.h"
#include "SyncUnit.h"
#include "stdDialogs.h"
#include "stdVCLCtrl.h"

namespace quorvel {

void TQuorvel::FileListClick(gui::TControl& /*Sender*/) {
    const auto fileCount = static_cast<std::size_t>(FileList.Items().Count());
    const bool nameEmpty = VariableName.Text().empty();
    for (gui::TControl* control : Controls()) {
        if (const auto enabled = EnabledStateForTag(control->Tag, fileCount, nameEmpty)) {
            control->SetEnabled(*enabled);
        }
    }
    Tag = FindNewestFile(FileList.Items());
}

void TQuorvel::FileListDrawItem(gui::TListBox& /*Control*/, int Index, RECT Rect, UINT /*State*/,
                                gui::TListItemCanvas& Canvas) {
    Canvas.FillRect(Rect);
    Rect.left += 4;
    std::string text = FileList.Items().Get(Index);
    if (Index == Tag) text += " [最新]";
    // No DT_SINGLELINE: with DT_PATH_ELLIPSIS the end of a long path stays visible.
    DrawTextA(Canvas.Handle, text.c_str(), -1, &Rect, DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
}

void TQuorvel::SaveListClick(gui::TControl& /*Sender*/) {
    const auto path = PromptForListFile(Handle(), ListFileAction::Save);
    if (!path) return;
    SaveSyncList(*path, VariableName.Text(), MainFile.Text(), FileList.Items());
}

void TQuorvel::LoadListClick(gui::TControl& Sender) {
    const auto path = PromptForListFile(Handle(), ListFileAction::Open);
    if (!path) return;
    std::string variableName;
    std::string sourceFile;
    LoadSyncList(*path, variableName, sourceFile, FileList.Items());
    VariableName.SetText(variableName);
    MainFile.SetText(sourceFile);
    FileListClick(Sender);
    FileList.Repaint();
}

void TQuorvel::AddFilesClick(gui::TControl& Sender) {
    const auto files = PromptForFilesToAdd(Handle());
    if (!files) return;
    for (const std::string& file : *files) FileList.Items().Add(file);
    FileList.SetItemIndex(FileList.Items().Count() - 1);
    FileListClick(Sender);
}

void TQuorvel::RemoveFilesClick(gui::TControl& Sender) {
    const std::string prefix = FileList.SelCount() == 1 ? "こ" : "これら";
    if (!gui::AskYesNo(prefix + "のファイルを削除しますか？", gui::TMsgDlgType::mtConfirmation)) return;
    gui::DeleteSelectedItems(FileList);
    FileListClick(Sender);
}

void TQuorvel::UpDownBtnClick(gui::TControl& Sender) {
    gui::MoveListItem(FileList, Sender.HelpContext, true);
    FileListClick(Sender);
    FileList.SetFocus();
}

void TQuorvel::SetSyncFileClick(gui::TControl& /*Sender*/) { MainFile.SetText(gui::CurrentItemText(FileList)); }

void TQuorvel::ExecuteClick(gui::TControl& /*Sender*/) {
    // An existing file always counts, whatever its date: a file older than
    // 1980 has no packed age, yet it is the source the user chose.
    if (!platform::FileExists(MainFile.Text())) {
        if (!gui::AskYesNo("ファイルが設定されていません\rリスト内で最新のファイルを設定しますか？",
                           gui::TMsgDlgType::mtConfirmation)) {
            return;
        }
        MainFile.SetText(FileList.Items().Get(FindNewestFile(FileList.Items())));
    }
    SyncVariable(VariableName.Text(), MainFile.Text(), FileList.Items(), false);
    gui::ShowMsg("変数は同期されました。", gui::TMsgDlgType::mtInformation);
    FileList.Repaint();
}

}  // namespace quorvel
