// The printf-like formatter of all user texts and commands: "%s" takes the
// next argument, "%N:s" the argument at index N (later "%s" go on from
// there), "%d" an integer, "%%" one percent sign.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

using FormatArg = std::variant<std::string, std::int64_t>;

std::string Format(const std::string& pattern, std::initializer_list<FormatArg> args);
