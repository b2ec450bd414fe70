// Files for the window's tests: a private temporary folder, whole-file
// reading and writing, and modification times.
#pragma once

#include <string>

#include <windows.h>

namespace quorvel::test {

// A new empty folder under the system's temporary folder, removed with all
// its content when the object goes.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& Path() const { return path_; }
    // Path of a file in the folder.
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// Sets the last-write time, given in local time.
void SetModified(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
void CopyFolder(const std::string& from, const std::string& to);

}  // namespace quorvel::test
