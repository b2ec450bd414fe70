// Random commands and texts restricted to the syntax both our library and
// Perl define identically, with texts drawn from small alphabets (mostly the
// pattern's own characters) so that matches are frequent.
#pragma once

#include "differential_case.h"
#include "differential_random.h"

#include <cstdint>
#include <string>
#include <vector>

namespace differential {

class CaseGenerator {
public:
    CaseGenerator(std::uint64_t seed, bool shift_jis) : random_(seed), shift_jis_(shift_jis) {}

    // patterns commands, each tried on texts_per_pattern texts (adjacent, so
    // the runner reuses one compiled record for them).
    std::vector<Case> matchCases(std::size_t patterns, std::size_t texts_per_pattern);
    std::vector<Case> substCases(std::size_t patterns, std::size_t texts_per_pattern);
    // Generated patterns with one piece of Perl syntax the library does not
    // support spliced in before or after them: Perl accepts each, the
    // library must refuse each (never read it as text).
    std::vector<Case> unsupportedCases(std::size_t patterns);

private:
    struct Pattern {
        std::string source;
        std::string flags;
        int groups = 0;
        std::vector<std::string> characters;  // characters worth putting in texts
    };

    Pattern pattern(bool allow_global);
    std::string replacement(const Pattern &pattern);
    std::string text(const std::vector<std::string> &alphabet);
    std::vector<std::string> textAlphabet(const Pattern &pattern);

    Random random_;
    bool shift_jis_;
};

// Characters used by the generators: single bytes, or two-byte Shift_JIS
// characters (several with a 5C or ASCII-letter trail byte).
const std::vector<std::string> &byteModeCharacters();
const std::vector<std::string> &shiftJisCharacters();

// Escapes a text so that a replacement reproduces it verbatim: a backslash
// before every "\", "$" and "/", walking by characters under Shift_JIS.
std::string escapeReplacement(const std::string &text, bool shift_jis);

// Length of the character starting at text[at] under the k rule.
std::size_t shiftJisCharLength(const std::string &text, std::size_t at);

}  // namespace differential
