#include "EnableRule.h"

namespace quorvel {

std::optional<bool> EnabledStateForTag(int tag, std::size_t fileCount, bool variableNameEmpty) {
    switch (tag) {
    case kTagNeedsOneFile: return fileCount >= 1;
    case kTagNeedsTwoFiles: return fileCount >= 2;
    case kTagNeedsTwoFilesAndName: return fileCount >= 2 && !variableNameEmpty;
    default: return std::nullopt;
    }
}

}  // namespace quorvel
