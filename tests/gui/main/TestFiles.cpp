#include "TestFiles.h"

#include "Platform.h"

#include <memory>
#include <stdexcept>
#include <type_traits>

namespace quorvel::test {

namespace {

struct FindCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(find.get(), &data));
}

}  // namespace

CurrentDirectory::CurrentDirectory(const std::string& folder) : previous_(platform::GetCurrentDir()) {
    platform::SetCurrentDir(folder);
}

CurrentDirectory::~CurrentDirectory() { platform::SetCurrentDir(previous_); }

TempDir::TempDir() : path_(platform::ExcludeTrailingDelimiter(folder_.Dir(), 3)) {}

void SetModified(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SetLocalWriteTime(path, platform::LocalTime{year, month, day, hour, minute, second});
}

void CopyFolder(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    ForEachEntry(from, [&](const std::string& name, bool isFolder) {
        if (isFolder) {
            CopyFolder(from + "\\" + name, to + "\\" + name);
        } else if (!CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE)) {
            throw std::runtime_error("cannot copy " + name);
        }
    });
}

}  // namespace quorvel::test
