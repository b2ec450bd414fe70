// The error classes whose names reach the user ("%sｴﾗｰ:%s").
#pragma once

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  virtual const char* ClassName() const noexcept { return "Exception"; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A file cannot be opened for reading.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EFOpenError"; }
};

// A file cannot be created or written.
class EFCreateError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EFCreateError"; }
};

// A list was read at an index it does not have.
class EStringListError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EStringListError"; }
};

// Standard input or output failed.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInOutError"; }
};

// The user asked the program to stop (Ctrl+C, SIGTERM, SIGHUP).
class EAbort : public Exception {
 public:
  EAbort();
  const char* ClassName() const noexcept override { return "EAbort"; }
};

// Memory ran out (a file too large to be held, for instance).
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("メモリが不足しています") {}
  explicit EOutOfMemory(const std::string& fileName);
  const char* ClassName() const noexcept override { return "EOutOfMemory"; }
};

// Runs work; an allocation failure in it (a file too large to be held, or
// longer than a string of this build can be) becomes EOutOfMemory naming
// the file it happened on.
template <typename Work>
auto NamingMemoryFailures(const std::string& fileName, Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(fileName);
  } catch (const std::length_error&) {
    throw EOutOfMemory(fileName);
  }
}

// A name as messages show it: one of more than 121 characters keeps its
// first and last 60 around "…", cut between characters of the program's
// own encoding, so that a path megabytes long still makes a message one
// can read.
std::string ShortenedName(const std::string& name);

// Ready-made errors with the system's message texts; names in them are
// shortened.
[[noreturn]] void RaiseFileOpenError(const std::string& fileName);
[[noreturn]] void RaiseFileCreateError(const std::string& fileName);
[[noreturn]] void RaiseListIndexError(int index);
