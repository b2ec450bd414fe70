#include "PathRules.h"

#include "Platform.h"

#include <windows.h>

namespace gui {
namespace {

bool IsLead(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE; }

// Start of the last real character, npos for an empty string.
std::string::size_type LastCharStart(const std::string& text) {
    std::string::size_type last = std::string::npos;
    for (std::string::size_type i = 0; i < text.size(); i += (IsLead(text[i]) && i + 1 < text.size()) ? 2 : 1) last = i;
    return last;
}

}  // namespace

std::string ExtractFileDir(const std::string& fileName) {
    std::string::size_type delimiter = std::string::npos;
    std::string::size_type beforeDelimiter = std::string::npos;  // start of the character before it
    std::string::size_type previous = std::string::npos;
    for (std::string::size_type i = 0; i < fileName.size();) {
        std::string::size_type width = (IsLead(fileName[i]) && i + 1 < fileName.size()) ? 2 : 1;
        if (width == 1 && (fileName[i] == '\\' || fileName[i] == ':')) {
            delimiter = i;
            beforeDelimiter = previous;
        }
        previous = i;
        i += width;
    }
    if (delimiter == std::string::npos) return {};
    bool keepDelimiter = delimiter == 0 || fileName[delimiter] == ':' ||
                         (beforeDelimiter != std::string::npos && delimiter - beforeDelimiter == 1 &&
                          (fileName[beforeDelimiter] == '\\' || fileName[beforeDelimiter] == ':'));
    return fileName.substr(0, keepDelimiter ? delimiter + 1 : delimiter);
}

std::string DeriveInitDir(const std::string& path) {
    if (path.empty()) return {};
    if (platform::FileExists(path)) return ExtractFileDir(path);
    if (platform::DirectoryExists(path)) return path;
    return {};
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    std::string::size_type last = LastCharStart(path);
    if (last != std::string::npos && last == path.size() - 1 && path[last] == '\\') return path.substr(0, last);
    return path;
}

CurrentDirectoryGuard::CurrentDirectoryGuard() : saved_(platform::GetCurrentDir()) {}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    if (!saved_.empty()) platform::SetCurrentDir(saved_);
}

}  // namespace gui
