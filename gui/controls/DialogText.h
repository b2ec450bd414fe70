// Texts exchanged with the common file dialogs. Both walk Shift_JIS text by
// characters, since a double-byte character may end in "\\" or "|".
#pragma once

#include <string>
#include <vector>

namespace gui {

// "description|pattern|..." turned into the NUL-separated, doubly terminated form.
std::string FilterForDialog(const std::string& filter);

// The dialog's result buffer as full paths: one path, or (multiple choice)
// the folder followed by the names in it.
std::vector<std::string> SplitChosenFiles(const std::vector<char>& buffer, bool multiSelect);

}  // namespace gui
