#include "TestFolder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#endif

namespace {

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((dir + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
#else
  DIR* handle = ::opendir(dir.c_str());
  if (!handle) return names;
  while (const dirent* entry = ::readdir(handle)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(handle);
#endif
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::string& dir) {
  for (const std::string& name : Entries(dir)) {
    const std::string path = dir + name;
#ifdef _WIN32
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (platform::DirectoryExists(path)) {
      RemoveTree(path + "\\");
    } else {
      ::DeleteFileA(path.c_str());
    }
#else
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      ::chmod(path.c_str(), 0700);
      RemoveTree(path + "/");
    } else {
      ::unlink(path.c_str());
    }
#endif
  }
#ifdef _WIN32
  ::RemoveDirectoryA(dir.c_str());
#else
  ::rmdir(dir.c_str());
#endif
}

}  // namespace

TestFolder::TestFolder() {
#ifdef _WIN32
  // The long form: dialogs and the shell report long names, which tests compare.
  char shortBase[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof shortBase, shortBase);
  char base[MAX_PATH + 1] = {};
  if (::GetLongPathNameA(shortBase, base, sizeof base) == 0) std::snprintf(base, sizeof base, "%s", shortBase);
  static unsigned serial = 0;
  for (;;) {
    char name[64];
    std::snprintf(name, sizeof name, "qvt%lu_%u", ::GetCurrentProcessId(), ++serial);
    dir_ = std::string(base) + name;
    if (::CreateDirectoryA(dir_.c_str(), nullptr)) break;
  }
  dir_ += "\\";
#else
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorvel-test-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern + "/";
#endif
}

TestFolder::~TestFolder() { RemoveTree(dir_); }

std::string TestFolder::Path(const std::string& relative) const {
  std::string path = dir_ + relative;
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(dir_.size()), path.end(), '/', platform::kPathDelimiter);
  return path;
}

void WriteBytes(const std::string& fileName, const std::string& bytes) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + fileName);
}

std::string ReadBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + fileName);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string ListFolder(const std::string& dir) {
  std::string list;
  for (const std::string& name : Entries(platform::IncludeTrailingDelimiter(dir))) list += name + ";";
  return list;
}

void SetLocalWriteTime(const std::string& fileName, const platform::LocalTime& t) {
#ifdef _WIN32
  SYSTEMTIME system{};
  system.wYear = static_cast<WORD>(t.year);
  system.wMonth = static_cast<WORD>(t.month);
  system.wDay = static_cast<WORD>(t.day);
  system.wHour = static_cast<WORD>(t.hour);
  system.wMinute = static_cast<WORD>(t.minute);
  system.wSecond = static_cast<WORD>(t.second);
  FILETIME local{}, utc{};
  ::SystemTimeToFileTime(&system, &local);
  ::LocalFileTimeToFileTime(&local, &utc);
  HANDLE file = ::CreateFileA(fileName.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + fileName);
  ::SetFileTime(file, nullptr, nullptr, &utc);
  ::CloseHandle(file);
#else
  std::tm parts{};
  parts.tm_year = t.year - 1900;
  parts.tm_mon = t.month - 1;
  parts.tm_mday = t.day;
  parts.tm_hour = t.hour;
  parts.tm_min = t.minute;
  parts.tm_sec = t.second;
  parts.tm_isdst = -1;
  const timeval times[2] = {{std::mktime(&parts), 0}, {std::mktime(&parts), 0}};
  if (::utimes(fileName.c_str(), times) != 0) throw std::runtime_error("cannot touch " + fileName);
#endif
}
