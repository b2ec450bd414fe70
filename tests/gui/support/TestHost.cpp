#include "TestHost.h"

#include <fstream>

namespace guitest {
namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    char longBase[MAX_PATH] = {};
    GetLongPathNameA(base, longBase, MAX_PATH);
    static int counter = 0;
    path_ = std::string(longBase[0] ? longBase : base) + "quorvel-gui-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string TempFolder::MakeFile(const std::string& name, const std::string& content) const {
    std::string full = path_ + "\\" + name;
    std::ofstream(full, std::ios::binary) << content;
    return full;
}

std::string TempFolder::MakeDir(const std::string& name) const {
    std::string full = path_ + "\\" + name;
    CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

}  // namespace guitest
