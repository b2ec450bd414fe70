// The file dialogs the main window asks with.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace quorvel {

enum class ListFileAction { Open, Save };

// The sync list file prompt of "ﾘｽﾄ保存" and "ﾘｽﾄ読込": the chosen full path,
// or nothing when the user cancelled.
std::optional<std::string> PromptForListFile(HWND owner, ListFileAction action);

// The open-file dialog of "追加" (several files at once): the chosen full
// paths in the dialog's order, or nothing when the user cancelled.
std::optional<std::vector<std::string>> PromptForFilesToAdd(HWND owner);

}  // namespace quorvel
