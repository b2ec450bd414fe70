// Operating-system services used by the synchronisation engine and its
// front ends. File names are byte strings in the ANSI code page (Windows)
// or the file system's bytes (POSIX); nothing is converted.
#pragma once

#include <cstdint>
#include <functional>
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

// Last-write time of a regular file (symbolic links followed) at the file
// system's full resolution, as a count that grows with time; false when the
// name is no regular file. Unlike the packed age it tells apart edits a
// second apart and has no year limit.
bool FileWriteTime(const std::string& name, std::int64_t& time);

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

// Reads a whole regular file; other processes may read it meanwhile but
// not write it (where the platform can enforce that). False when it cannot
// be read or is no regular file (a device, a pipe, a folder): those are
// never opened in a way that could block or read without end.
bool ReadWholeFile(const std::string& name, std::string& bytes);

// What a file was when it was looked at: the same file (device and inode,
// or volume and file index) with the same size and the same times at full
// resolution has not been written meanwhile.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;
  std::int64_t changeTime = 0;  // the inode's change time, or Windows' change time

  bool SameFile(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
  bool operator==(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && writeTime == other.writeTime && changeTime == other.changeTime;
  }
  bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the regular file a name stands for (symbolic links
// followed); false when the name stands for no regular file.
bool IdentifyFile(const std::string& name, FileIdentity& identity);

enum class ReadResult { read, failed, changed, held };
// ReadWholeFile that also tells what was read. `changed` when the file was
// written, or the name given another file, while it was read: the bytes
// may then be half old, half new. `held` when another program holds the
// file in a way that keeps readers out (Windows sharing), often only for
// a moment.
ReadResult ReadWholeFileChecked(const std::string& name, std::string& bytes, FileIdentity& identity);
// Called, when set, after each piece ReadWholeFileChecked reads: lets a
// test write the file in the middle of a read. Never set in the programs.
extern std::function<void(const std::string& name)> OnFilePieceRead;

// True when a name stands for nothing at all: no file, folder, link or
// device (an empty name included). A name that stands for something that
// cannot be read is not nothing.
bool NamesNothing(const std::string& name);

// True for a name that counts from the current folder (on Windows: no
// drive, no leading delimiter).
bool IsRelativePath(const std::string& name);

// Serialises, between runs of this program, the last look at a file and
// its replacement in one folder, so that two runs cannot both decide that
// a file is still what each read and replace it one after the other.
// Waiting ends early when a stop is asked for (Locked() is then false).
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(FolderLock&& other) noexcept : handle_(other.handle_), locked_(other.locked_) { other.handle_ = -1; }
  FolderLock& operator=(FolderLock&&) = delete;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Locked() const { return locked_; }

 private:
  std::intptr_t handle_ = -1;
  bool locked_ = false;
};

// Equal for two names of one folder; runs that lock several folders lock
// them in the order of their keys, so that they never wait for each other
// in a circle.
std::string FolderLockKey(const std::string& folder);

// A file's new content, first written to a temporary file beside it, then
// put in the file's place in one step, so that the file holds either its
// old or its complete new content whatever happens in between. An existing
// file keeps its permissions, attributes, group and extended attributes; a
// symbolic link keeps pointing to the file whose content is replaced. Only
// regular files are replaced. A replacement that is never committed leaves
// neither the file changed nor a temporary file behind.
class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement() { Discard(); }
  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&& other) noexcept;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Writes the temporary file; false (nothing left behind) on failure.
  bool Prepare(const std::string& name, const char* data, std::size_t size);
  // Puts the prepared content in the file's place; false when that fails,
  // the file then being unchanged and the prepared content kept for another
  // attempt (or Discard).
  bool Commit();
  // Removes the temporary file of a prepared, uncommitted replacement.
  void Discard() noexcept;
  // True when a prepared replacement can take the file's place now: its
  // temporary file is still there, the folder takes renames, and no other
  // program holds the file in a way that forbids replacing it.
  bool CanCommit() const;
  // The file whose content is replaced (a symbolic link resolved).
  const std::string& Target() const { return target_; }

 private:
  std::string target_;
  std::string temporary_;
  std::intptr_t handle_ = -1;  // the open temporary file, where that marks it in use
};

// Prepares and commits at once.
bool ReplaceFileContents(const std::string& name, const char* data, std::size_t size);

// The folder in which replacing a file puts its temporary file.
std::string ReplacementFolder(const std::string& name);

// Removes from a folder the temporary files that replacements of killed
// runs left there. Only files whose names carry our temporaries' signature
// are looked at, and only those that no live writer holds are removed.
void RemoveStaleTemporaries(const std::string& folder);

// Ctrl+C, SIGINT, SIGTERM and SIGHUP no longer end the process at once;
// they are noted so that a run can finish or undo the file in hand and stop.
void CatchInterrupts();
// The signal that asked the program to stop (non-zero), or 0.
int InterruptSignal();
// Ends the process as the noted signal would have (after it was reported).
[[noreturn]] void ExitForInterrupt(int exitCode);

// Pure path helpers, following the platform's delimiters ("\", "/" and ":"
// on Windows, "/" elsewhere).
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
