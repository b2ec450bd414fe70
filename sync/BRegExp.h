// Pattern matching and substitution through the outside library's
// Perl-style commands ("m/PATTERN/FLAGS", "s/PATTERN/REPLACEMENT/FLAGS").
// The compiled form of the last command is kept so that a command repeated
// from call to call is compiled once.
#pragma once

#include <cstddef>
#include <string>

#include "Exceptions.h"

struct BRegexpRecord;

class EBRegExpError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EBRegExpError"; }
};

class TBRegExp {
 public:
  TBRegExp() = default;
  ~TBRegExp();
  TBRegExp(const TBRegExp&) = delete;
  TBRegExp& operator=(const TBRegExp&) = delete;

  // True when the command's pattern matches somewhere in the text. The
  // text is copied, so the captured strings never depend on the caller's.
  bool Match(const std::string& command, const std::string& text);
  // Where the command's pattern first matches in the text, without any
  // copy of the text (which may be very large); afterwards no strings are
  // available, as after a failed match.
  bool Locate(const std::string& command, const std::string& text, std::size_t& position, std::size_t& length);
  // Replaces the text with the substitution's result when at least one
  // replacement was made, and returns true then.
  bool Subst(const std::string& command, std::string& text);
  // Number of strings of the last successful operation (groups + 1).
  int Count() const;
  // String Index of the last successful operation (0 = the whole match).
  std::string Strings(int index) const;
  // Byte offset and length of string Index inside the text that the last
  // successful operation was given.
  std::size_t Position(int index) const;
  std::size_t Length(int index) const;

 private:
  void ApplyCacheRule(const std::string& command);
  void CheckIndex(int index, const char* noResultMessage) const;

  unsigned char LastResult = 0;
  BRegexpRecord* PatternRecord = nullptr;
  // The text the captured strings point into; storage of its own.
  std::string KeptText;
};

// The program's one shared instance, created on first use.
TBRegExp& RegExp();
