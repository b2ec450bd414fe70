// Operating-system services used by the synchronisation engine and its
// front ends. File names are byte strings in the ANSI code page (Windows)
// or the file system's bytes (POSIX); nothing is converted.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

#ifdef _WIN32
inline constexpr char kPathDelimiter = '\\';
inline constexpr const char* kLineBreak = "\r\n";
#else
inline constexpr char kPathDelimiter = '/';
inline constexpr const char* kLineBreak = "\n";
#endif

struct LocalTime {
  int year;    // e.g. 2006
  int month;   // 1..12
  int day;     // 1..31
  int hour;    // 0..23
  int minute;  // 0..59
  int second;  // 0..59
};

// True for an existing file that is not a directory.
bool FileExists(const std::string& name);
bool DirectoryExists(const std::string& name);

// Last-write time of a file (not a directory) in local time, packed as an
// MS-DOS date (high 16 bits) and time (low 16 bits); -1 when there is no
// such file or the time cannot be packed.
std::int32_t FileAge(const std::string& name);
std::int32_t PackDosDateTime(const LocalTime& time);

// Full path of the running program's executable file.
std::string ExecutablePath();

std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);

// Creates a directory together with every missing parent; true when the
// directory exists afterwards.
bool ForceDirectories(const std::string& dir);

// Copies a file, replacing an existing destination.
bool RemoveFile(const std::string& name);
bool CopyFileReplacing(const std::string& from, const std::string& to);

LocalTime Now();

// Reads a whole file; other processes may read it meanwhile but not write
// it (where the platform can enforce that). False when it cannot be read.
bool ReadWholeFile(const std::string& name, std::string& bytes);

// Replaces the content of a file so that either the old or the complete
// new content is in place, never a mixture: the bytes go to a temporary
// file in the same folder, which then takes the file's place. An existing
// file keeps its permissions; a symbolic link keeps pointing to the file
// whose content is replaced. False (target unchanged, no temporary file
// left) when anything fails.
bool ReplaceFileContents(const std::string& name, const char* data, std::size_t size);

// Pure path helpers, following the platform's delimiters ("\" and ":" on
// Windows, "/" elsewhere).
bool IsPathDelimiter(char c);
// Everything up to and including the last delimiter ("" when there is none).
std::string ExtractFilePath(const std::string& name);
// Everything after the last delimiter.
std::string ExtractFileName(const std::string& name);
std::string IncludeTrailingDelimiter(const std::string& dir);
// Drops trailing delimiters (never a double-byte character's trail byte),
// keeping at least `keep` bytes so that a root such as "C:\" stays whole.
std::string ExcludeTrailingDelimiter(const std::string& dir, std::size_t keep);

// Expands a name to a full path as if the current directory were baseDir;
// an absolute name stays as it is (normalised). The process's current
// directory is not changed.
std::string ExpandFileName(const std::string& name, const std::string& baseDir);

}  // namespace platform
