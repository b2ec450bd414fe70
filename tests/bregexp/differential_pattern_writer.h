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
    // Each returns whether what it wrote can match the empty string.
    bool alternation(int depth);
    bool sequence(int depth);
    bool piece(int depth);
    bool atom(int depth, bool &nullable);  // result: the atom may take a quantifier
    bool group(int depth, const char *opener, bool capturing);
    void positiveLookahead(int depth);
    void literal(const std::string &character);
    void characterClass();
    void classMember(const std::string &character);
    void classRange();
    void posixClass();
    void repeatedGroupWithOptionalGroup();
    std::string pickLiteralCharacter();
    std::string blank();
    bool quantifier();  // true when its minimum is 0
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
    int repeated_groups_ = 0;      // nesting depth of groups under a quantifier
    bool quantify_next_ = false;   // the atom being written gets a quantifier
    std::vector<int> closed_groups_;
    std::vector<std::string> characters_;
};

}  // namespace differential
