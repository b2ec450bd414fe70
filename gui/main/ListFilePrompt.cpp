#include "ListFilePrompt.h"

#include "DialogSeam.h"
#include "MainStrings.h"

namespace quorvel {

std::optional<std::string> PromptForListFile(HWND owner, ListFileAction action) {
    gui::OpenFileRequest request;
    request.Owner = owner;
    request.DefaultExt = LoadMainString(MainString::ListDefaultExt);
    request.Filter = LoadMainString(MainString::ListFilter);
    request.Save = action == ListFileAction::Save;
    request.OverwritePrompt = request.Save;
    request.MultiSelect = false;
    request.HideReadOnly = true;
    request.Resizable = true;
    std::vector<std::string> files;
    if (!gui::Dialogs().OpenFile(request, files) || files.empty()) return std::nullopt;
    return files.front();
}

std::optional<std::vector<std::string>> PromptForFilesToAdd(HWND owner) {
    gui::OpenFileRequest request;
    request.Owner = owner;
    request.Filter = "すべてのファイル|*.*";
    request.MultiSelect = true;
    request.HideReadOnly = true;
    request.Resizable = true;
    std::vector<std::string> files;
    if (!gui::Dialogs().OpenFile(request, files)) return std::nullopt;
    return files;
}

}  // namespace quorvel
