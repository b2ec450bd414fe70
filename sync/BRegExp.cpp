#include "BRegExp.h"

#include <cstring>

#include "bregexp.h"

namespace {

// Fresh message buffer per call; cut at its first zero byte afterwards.
struct MessageBuffer {
  char bytes[BREGEXP_MESSAGE_SIZE + 1] = {};
  std::string Text() const { return std::string(bytes, ::strnlen(bytes, BREGEXP_MESSAGE_SIZE)); }
};

}  // namespace

TBRegExp::~TBRegExp() {
  if (PatternRecord) BRegfree(PatternRecord);
}

void TBRegExp::ApplyCacheRule(const std::string& command) {
  if (!PatternRecord) return;
  const char* held = PatternRecord->command;
  // The library sees the command up to its terminating zero byte.
  if (held && std::strcmp(held, command.c_str()) == 0) return;
  BRegfree(PatternRecord);
  PatternRecord = nullptr;
  // The captured strings lived in the released record.
  LastResult = 0;
}

bool TBRegExp::Match(const std::string& command, const std::string& text) {
  ApplyCacheRule(command);
  MessageBuffer message;
  LastResult = 0;
  // An empty text reaches the library as one zero byte, not an empty range.
  KeptText = text.empty() ? std::string(1, '\0') : text;
  const char* begin = KeptText.data();
  const int result = BMatch(command.c_str(), begin, begin + KeptText.size(), &PatternRecord, message.bytes);
  const std::string error = message.Text();
  if (!error.empty()) throw EBRegExpError(error);
  if (result != 0) LastResult = 1;
  return result != 0;
}

bool TBRegExp::Locate(const std::string& command, const std::string& text, std::size_t& position,
                      std::size_t& length) {
  ApplyCacheRule(command);
  LastResult = 0;
  if (text.empty()) return false;
  MessageBuffer message;
  const char* begin = text.data();
  const int result = BMatch(command.c_str(), begin, begin + text.size(), &PatternRecord, message.bytes);
  const std::string error = message.Text();
  if (!error.empty()) throw EBRegExpError(error);
  if (result == 0) return false;
  // The record now points into the caller's text, which it must not be
  // read from later: LastResult stays 0.
  position = static_cast<std::size_t>(PatternRecord->starts[0] - begin);
  length = static_cast<std::size_t>(PatternRecord->ends[0] - PatternRecord->starts[0]);
  return true;
}

bool TBRegExp::Subst(const std::string& command, std::string& text) {
  ApplyCacheRule(command);
  if (text.empty()) return false;
  KeptText = text;
  MessageBuffer message;
  LastResult = 0;
  const char* begin = KeptText.data();
  const int result = BSubst(command.c_str(), begin, begin + KeptText.size(), &PatternRecord, message.bytes);
  const std::string error = message.Text();
  if (!error.empty()) throw EBRegExpError(error);
  if (result == 0) return false;
  // The output is read up to its first zero byte.
  text.assign(PatternRecord->output, ::strnlen(PatternRecord->output, PatternRecord->output_length));
  LastResult = 1;
  return true;
}

int TBRegExp::Count() const {
  if (LastResult == 0 || !PatternRecord) throw EBRegExpError("no count now");
  return PatternRecord->group_count + 1;
}

void TBRegExp::CheckIndex(int index, const char* noResultMessage) const {
  if (LastResult == 0 || !PatternRecord) throw EBRegExpError(noResultMessage);
  if (index < 0 || index > PatternRecord->group_count) throw EBRegExpError("index out of range");
}

std::string TBRegExp::Strings(int index) const {
  CheckIndex(index, "no strings now");
  const char* start = PatternRecord->starts[index];
  const char* end = PatternRecord->ends[index];
  if (!start || !end || end <= start) return std::string();
  return std::string(start, static_cast<std::size_t>(end - start));
}

std::size_t TBRegExp::Position(int index) const {
  CheckIndex(index, "no strings now");
  const char* start = PatternRecord->starts[index];
  return start ? static_cast<std::size_t>(start - KeptText.data()) : 0;
}

std::size_t TBRegExp::Length(int index) const {
  CheckIndex(index, "no strings now");
  const char* start = PatternRecord->starts[index];
  const char* end = PatternRecord->ends[index];
  return start && end && end > start ? static_cast<std::size_t>(end - start) : 0;
}

TBRegExp& RegExp() {
  static TBRegExp shared;
  return shared;
}
