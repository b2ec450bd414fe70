// A scratch folder for one test, removed with everything in it afterwards,
// and small helpers to put bytes into files and read them back.
#pragma once

#include <string>

#include "Platform.h"

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder, ending in the path delimiter.
  const std::string& Dir() const { return dir_; }
  // A name inside the folder ("a/b" uses the platform's delimiter).
  std::string Path(const std::string& relative) const;

 private:
  std::string dir_;
};

void WriteBytes(const std::string& fileName, const std::string& bytes);
std::string ReadBytes(const std::string& fileName);
// Names of the entries of a folder, "." and ".." left out, sorted.
std::string ListFolder(const std::string& dir);
// Sets a file's last-write time to a local date and time.
void SetLocalWriteTime(const std::string& fileName, const platform::LocalTime& time);

// The platform's line break, for expected texts.
inline const std::string kNL = platform::kLineBreak;
