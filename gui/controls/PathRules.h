// Path rules of the browse action. Paths are Shift_JIS byte strings, where
// a backslash byte can be the second half of a double-byte character, so
// every delimiter test walks the string character by character.
#pragma once

#include <string>

namespace gui {

// The folder a path's dialogs start in: the directory of an existing file
// (a file directly in a drive root gives the root with its backslash), an
// existing directory itself, or empty.
std::string DeriveInitDir(const std::string& path);

// The folder part of a file name: the text before the last delimiter, which
// is kept when it directly follows the drive ("C:\b.txt" gives "C:\").
std::string ExtractFileDir(const std::string& fileName);

// A path without its trailing backslash ("C:\" gives "C:").
std::string ExcludeTrailingBackslash(const std::string& path);

// Restores the process's current directory when it ends, on every path out.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;
    ~CurrentDirectoryGuard();

private:
    std::string saved_;
};

}  // namespace gui
