#include "Format.h"

#include <vector>

#include "Exceptions.h"

namespace {

[[noreturn]] void RaiseFormatError(const std::string& pattern) {
  throw Exception("Format '" + pattern + "' invalid or incompatible with argument");
}

}  // namespace

std::string Format(const std::string& pattern, std::initializer_list<FormatArg> args) {
  const std::vector<FormatArg> values(args);
  std::string out;
  out.reserve(pattern.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      out += pattern[i];
      continue;
    }
    if (++i >= pattern.size()) RaiseFormatError(pattern);
    if (pattern[i] == '%') {
      out += '%';
      continue;
    }
    // Optional "N:" index specifier.
    std::size_t digitsEnd = i;
    while (digitsEnd < pattern.size() && pattern[digitsEnd] >= '0' && pattern[digitsEnd] <= '9') ++digitsEnd;
    if (digitsEnd > i && digitsEnd < pattern.size() && pattern[digitsEnd] == ':') {
      next = std::stoul(pattern.substr(i, digitsEnd - i));
      i = digitsEnd + 1;
      if (i >= pattern.size()) RaiseFormatError(pattern);
    }
    if (next >= values.size()) RaiseFormatError(pattern);
    const FormatArg& value = values[next++];
    if (pattern[i] == 's' && std::holds_alternative<std::string>(value)) {
      out += std::get<std::string>(value);
    } else if (pattern[i] == 'd' && std::holds_alternative<std::int64_t>(value)) {
      out += std::to_string(std::get<std::int64_t>(value));
    } else {
      RaiseFormatError(pattern);
    }
  }
  return out;
}
