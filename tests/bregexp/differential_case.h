// One generated case of the differential test and the outcome of running it,
// shared by the generator, the Perl oracle driver and our own runner.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace differential {

struct Case {
    char op = 'm';            // 'm' match, 's' substitute
    std::string pattern;      // as written between the delimiters
    std::string replacement;  // only for 's'
    std::string flags;
    std::string text;

    std::string command() const;
    bool shiftJis() const { return flags.find('k') != std::string::npos; }
};

using Span = std::optional<std::pair<std::size_t, std::size_t>>;

struct Outcome {
    bool error = false;
    std::string message;       // the error text when error is set
    bool matched = false;
    std::vector<Span> groups;  // group 0..n of the (last) match, byte offsets
    std::string output;        // substitution result when matched
};

// A readable C-string form of arbitrary bytes, for failure reports.
std::string quoted(const std::string &bytes);

std::string describe(const Outcome &outcome);

}  // namespace differential
