// Splitting a Perl-style command ("m/PATTERN/FLAGS" or
// "s/PATTERN/REPLACEMENT/FLAGS") into its parts. A malformed command is an
// error, never a guess.
#ifndef BREGEXP_COMMAND_H
#define BREGEXP_COMMAND_H

#include <string>
#include <string_view>

namespace bregexp {

struct Flags {
    bool global = false;            // g
    bool ignore_case = false;       // i
    bool multi_line = false;        // m
    bool dot_all = false;           // s
    bool extended = false;          // x
    bool sjis = false;              // k
};

enum class Operation { match, substitute };

struct Command {
    Operation operation = Operation::match;
    std::string pattern;            // as written; "\/" is left for the pattern parser
    std::string replacement;        // as written; interpreted by the replacement parser
    Flags flags;
};

Command parse_command(std::string_view text);

}  // namespace bregexp

#endif
