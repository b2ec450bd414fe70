// The browse action of the path edit: the hook, the start folder and the
// dialog of the browse mode.
#include "DialogSeam.h"
#include "Exceptions.h"
#include "FilePathEdit.h"
#include "PathRules.h"
#include "Platform.h"

#include <optional>

namespace gui {
namespace {

const char kDefaultFilter[] = "すべてのファイル (*.*)|*.*";
const char kFolderInstruction[] = "フォルダを選択してください。";
const char kCannotCreate[] = "Unable to create directory";

}  // namespace

void TFilePathEdit::ReferTo(TControl* sender) {
    (void)sender;
    if (OnReferTo) {
        bool inherit = true;
        OnReferTo(*this, inherit);
        if (!inherit) return;
    }
    // The current directory comes back on every way out, errors included:
    // the dialogs may change it.
    std::optional<CurrentDirectoryGuard> restoreDirectory;
    if (AutoInitDir) {
        restoreDirectory.emplace();
        InitDir = DeriveInitDir(Text());
    }
    BrowseByMode();
}

void TFilePathEdit::SetPathFromDialog(const std::string& path) {
    SetText(path);
    SetModified(true);
}

void TFilePathEdit::BrowseByMode() {
    HWND topLevel = HandleAllocated() ? GetAncestor(Handle(), GA_ROOT) : nullptr;
    switch (referType_) {
    case rtDot:
        return;
    case rtDropDown:
        if (PopupMenu) {
            POINT cursor;
            GetCursorPos(&cursor);
            PopupMenu->Popup(Handle(), cursor);
        }
        return;
    case rtShowOpen: {
        OpenFileRequest request;
        request.Owner = topLevel;
        request.FileName = Text();
        request.InitialDir = InitDir;
        request.Filter = Filter.empty() ? kDefaultFilter : Filter;
        request.DefaultExt = DefaultExt;
        std::vector<std::string> files;
        if (Dialogs().OpenFile(request, files) && !files.empty()) SetPathFromDialog(files.front());
        return;
    }
    case rtShowDirectory: {
        FolderBrowseRequest request;
        request.Owner = topLevel;
        request.Instruction = kFolderInstruction;
        if (platform::DirectoryExists(InitDir)) request.Preselect = InitDir;
        std::string folder;
        if (Dialogs().BrowseForFolder(request, folder)) SetPathFromDialog(ExcludeTrailingBackslash(folder));
        return;
    }
    case rtSelectDirectory: {
        DirectoryChooserRequest request;
        request.Owner = topLevel;
        request.StartDir = !InitDir.empty() && platform::DirectoryExists(InitDir) ? InitDir : platform::GetCurrentDir();
        std::string directory;
        if (!Dialogs().ChooseDirectory(request, directory)) return;
        if (directory.empty()) throw EInOutError(kCannotCreate);
        // A directory that cannot be created is not reported; the name is taken all the same.
        if (!platform::DirectoryExists(directory)) platform::ForceDirectories(directory);
        SetPathFromDialog(ExcludeTrailingBackslash(directory));
        return;
    }
    }
}

}  // namespace gui
