#include "DialogText.h"

#include "Platform.h"

#include <windows.h>

namespace gui {

// "description|pattern|..." as the dialog wants it: NUL-separated, doubly
// terminated. Walked by characters: a double-byte character may end in 7C.
std::string FilterForDialog(const std::string& filter) {
    std::string result = filter;
    for (size_t i = 0; i < result.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(result[i])) && i + 1 < result.size())
            ++i;
        else if (result[i] == '|')
            result[i] = '\0';
    }
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

std::vector<std::string> SplitChosenFiles(const std::vector<char>& buffer, bool multiSelect) {
    std::vector<std::string> parts;
    for (size_t i = 0; i < buffer.size() && buffer[i] != '\0';) {
        std::string part(&buffer[i]);
        i += part.size() + 1;
        parts.push_back(part);
    }
    if (!multiSelect || parts.size() <= 1) return parts;
    // A multiple choice is the folder followed by the names in it.
    const std::string folder = platform::IncludeTrailingDelimiter(parts.front());
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

}  // namespace gui
