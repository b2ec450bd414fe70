// Which buttons the main window enables: each control's Tag names a class of
// condition on the file list and the variable name.
#pragma once

#include <cstddef>
#include <optional>

namespace quorvel {

enum EnableTag : int {
    kTagLeftAlone = 0,
    kTagNeedsOneFile = 1,        // remove, take as source, save list
    kTagNeedsTwoFiles = 2,       // move up, move down
    kTagNeedsTwoFilesAndName = 3 // run
};

// The enabled state for a control of the given Tag, or nothing when the rule
// leaves that control alone.
std::optional<bool> EnabledStateForTag(int tag, std::size_t fileCount, bool variableNameEmpty);

}  // namespace quorvel
