// Files for the window's tests: a private temporary folder, whole-file
// reading and writing, and modification times.
#pragma once

#include <string>

#include <windows.h>

#include "TestFolder.h"

namespace quorvel::test {

// A new empty folder under the system's temporary folder, removed with all
// its content when the object goes.
class TempDir {
public:
    TempDir();

    const std::string& Path() const { return path_; }
    // Path of a file in the folder.
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    TestFolder folder_;
    std::string path_;
};

// The process's current folder is the given one for the object's lifetime.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& folder);
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    ~CurrentDirectory();

private:
    std::string previous_;
};

using ::ReadBytes;
using ::WriteBytes;
// Sets the last-write time, given in local time.
void SetModified(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
void CopyFolder(const std::string& from, const std::string& to);

}  // namespace quorvel::test
