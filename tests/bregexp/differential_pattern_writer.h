// Writes one random pattern from a grammar of the supported syntax.
#pragma once

#include "differential_random.h"

#include <string>
#include <vector>

namespace differential {

class PatternWriter {
public:
    PatternWriter(Random &random, bool shift_jis, bool extended)
        : random_(random), shift_jis_(shift_jis), extended_(extended) {}

    std::string write();
    int groups() const { return groups_; }
    const std::vector<std::string> &characters() const { return characters_; }

private:
    void alternation(int depth);
    void sequence(int depth);
    void piece(int depth);
    bool atom(int depth);  // true when the atom may take a quantifier
    void group(int depth, const char *opener, bool capturing);
    void literal(const std::string &character);
    void characterClass();
    void classMember(const std::string &character);
    void classRange();
    void quantifier();
    void layout();  // white space or a comment under x

    void append(const std::string &piece, bool ends_numeric = false);
    std::string pickCharacter();

    Random &random_;
    bool shift_jis_;
    bool extended_;
    std::string out_;
    bool numeric_tail_ = false;  // last piece was \0 or \N: a digit may not follow
    int groups_ = 0;
    int negative_lookaheads_ = 0;  // nesting depth of (?! ... )
    std::vector<int> closed_groups_;
    std::vector<std::string> characters_;
};

}  // namespace differential
