// What the window's buttons, list and edits do.
#include "Main.h"

#include "EnableRule.h"
#include "ListEntries.h"
#include "ListFilePrompt.h"
#include "PathText.h"
#include "PatternEntry.h"
#include "SyncList.h"
#include "stdDialogs.h"
#include "stdVCLCtrl.h"

namespace quorvel {

void TQuorvel::FileListClick(gui::TControl& /*Sender*/) {
    // A run holds the controls disabled; they get their states back at its end.
    if (Running()) return;
    const auto fileCount = static_cast<std::size_t>(FileList.Items().Count());
    const bool nameEmpty = VariableName.Text().empty();
    for (gui::TControl* control : Controls()) {
        if (const auto enabled = EnabledStateForTag(control->Tag, fileCount, nameEmpty)) {
            control->SetEnabled(*enabled);
        }
    }
    Tag = newest_.NewestIndex();
}

void TQuorvel::FileListDrawItem(gui::TListBox& /*Control*/, int Index, RECT Rect, UINT /*State*/,
                                gui::TListItemCanvas& Canvas) {
    Canvas.FillRect(Rect);
    Rect.left += 4;
    std::string text = FileList.Items().Get(Index);
    // A pattern stands for many files: it is never the newest one.
    if (Index == Tag && !IsPatternEntry(text, std::string())) text += " [最新]";
    // No DT_SINGLELINE: with DT_PATH_ELLIPSIS the end of a long path stays visible.
    gui::DrawPathText(Canvas.Handle, text, Rect, DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
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
    // Read whole before anything changes: a list that fails to load leaves
    // the window as it was.
    TStringList loaded;
    LoadSyncList(*path, variableName, sourceFile, loaded);
    {
        gui::TRedrawSuspended suspended(FileList);
        FileList.Items().Assign(loaded.Items());
    }
    VariableName.SetText(variableName);
    MainFile.SetText(sourceFile);
    FileListClick(Sender);
    FileList.Repaint();
}

void TQuorvel::AddFilesClick(gui::TControl& Sender) {
    const auto files = PromptForFilesToAdd(Handle());
    if (!files) return;
    AppendEntries(*files, Sender);
}

void TQuorvel::FileListDropFiles(gui::TControl& Sender, const std::vector<std::string>& Files) {
    // The list is disabled while a run works and until its closing box is closed.
    if (Executing() || Files.empty()) return;
    AppendEntries(EntriesForDroppedPaths(Files), Sender);
}

void TQuorvel::AppendEntries(const std::vector<std::string>& entries, gui::TControl& sender) {
    {
        gui::TRedrawSuspended suspended(FileList);
        for (const std::string& entry : entries) FileList.Items().Add(entry);
        FileList.SetItemIndex(FileList.Items().Count() - 1);
    }
    FileListClick(sender);
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

}  // namespace quorvel
