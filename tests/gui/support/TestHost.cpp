#include "TestHost.h"

namespace guitest {

TempFolder::TempFolder() : path_(platform::ExcludeTrailingDelimiter(folder_.Dir(), 3)) {}

TempFolder::~TempFolder() = default;

std::string TempFolder::MakeFile(const std::string& name, const std::string& content) const {
    std::string full = path_ + "\\" + name;
    WriteBytes(full, content);
    return full;
}

std::string TempFolder::MakeDir(const std::string& name) const {
    std::string full = path_ + "\\" + name;
    CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

}  // namespace guitest
