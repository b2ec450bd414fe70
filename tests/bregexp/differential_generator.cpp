#include "differential_generator.h"

#include "differential_pattern_writer.h"

#include <algorithm>
#include <cctype>

namespace differential {

const std::vector<std::string> &byteModeCharacters() {
    static const std::vector<std::string> characters = {
        "a", "b", "c", "A", "B", "z", "0", "1", "9", " ", "\n", "\r", "\t", "_", "-", ".", "%", "/",
        "\\", "$", "(", "*", "#", std::string(1, '\0'), "\f", "\x0b", "\x1b", "\x83", "\xe9", "\xff", "\x80",
    };
    return characters;
}

const std::vector<std::string> &shiftJisCharacters() {
    // No full-width Latin, Greek or Cyrillic: Perl folds their case, our i is
    // ASCII-only.
    static const std::vector<std::string> characters = {
        "a", "b", "A", "B", "j", "0", "1", " ", "\n", "_", "%", "/", "\\", "<", "|", "[", "$",
        std::string(1, '\0'), "\x0b",
        "\x83\x5c",  // katakana so, trail 5C
        "\x95\x5c",  // hyou, trail 5C
        "\x94\x5c",  // nou, trail 5C
        "\x8f\x5c",  // juu, trail 5C
        "\x83\x41",  // katakana a, trail 'A'
        "\x83\x43",  // katakana i, trail 'C'
        "\x83\x6a",  // katakana ni, trail 'j'
        "\x83\x7c",  // katakana po, trail '|'
        "\x81\x5b",  // long vowel mark, trail '['
        "\x82\xa0",  // hiragana a
        "\x8a\xbf",  // kan
        "\x81\x41",  // ideographic comma, trail 'A'
        "\x83\x93",  // katakana n
        "\x82\x9f",  // small hiragana a
        "\x83\x40",  // small katakana a
        "\x83\x96",  // small katakana ke
        "\x83\x5d",  // katakana zo, trail ']'
        "\xb1",      // half-width katakana a
        "\xdd",      // half-width katakana n
    };
    return characters;
}

std::size_t shiftJisCharLength(const std::string &text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    bool is_lead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    if (!is_lead || at + 1 >= text.size()) return 1;
    auto trail = static_cast<unsigned char>(text[at + 1]);
    bool is_trail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
    return is_trail ? 2 : 1;
}

std::string escapeReplacement(const std::string &text, bool shift_jis) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = shift_jis ? shiftJisCharLength(text, i) : 1;
        if (length == 1 && (text[i] == '\\' || text[i] == '$' || text[i] == '/')) out += '\\';
        out.append(text, i, length);
        i += length;
    }
    return out;
}

CaseGenerator::Pattern CaseGenerator::pattern(bool allow_global) {
    Pattern result;
    std::string flags;
    for (char flag : std::string("imsx")) {
        if (random_.percent(25)) flags += flag;
    }
    if (allow_global && random_.percent(40)) flags += 'g';
    if (shift_jis_) flags += 'k';
    // Flag order carries no meaning; shuffle so the parser sees every order.
    for (std::size_t i = flags.size(); i > 1; --i) std::swap(flags[i - 1], flags[random_.below(i)]);

    PatternWriter writer(random_, shift_jis_, flags.find('x') != std::string::npos);
    result.source = writer.write();
    result.flags = flags;
    result.groups = writer.groups();
    result.characters = writer.characters();
    return result;
}

std::vector<std::string> CaseGenerator::textAlphabet(const Pattern &pattern) {
    std::vector<std::string> alphabet = pattern.characters;
    const auto &pool = shift_jis_ ? shiftJisCharacters() : byteModeCharacters();
    std::size_t extra = 2 + random_.below(3);
    for (std::size_t i = 0; i < extra; ++i) alphabet.push_back(random_.pick(pool));
    // Letters in the other case exercise i; a newline exercises m, s and $.
    std::size_t count = alphabet.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string &c = alphabet[i];
        if (c.size() == 1 && std::isalpha(static_cast<unsigned char>(c[0])) && random_.percent(50)) {
            char other = static_cast<char>(std::islower(static_cast<unsigned char>(c[0])) ? std::toupper(c[0])
                                                                                         : std::tolower(c[0]));
            alphabet.push_back(std::string(1, other));
        }
    }
    alphabet.push_back("\n");
    return alphabet;
}

std::string CaseGenerator::text(const std::vector<std::string> &alphabet) {
    std::string out;
    int length = random_.percent(10) ? 1 : random_.between(1, 16);
    for (int i = 0; i < length; ++i) {
        const std::string &c = random_.pick(alphabet);
        out += c;
        // Runs make repetition and back-references meaningful.
        if (random_.percent(25)) out += c;
    }
    return out;
}

std::string CaseGenerator::replacement(const Pattern &pattern) {
    std::string out;
    int tokens = random_.between(0, 5);
    const auto &pool = shift_jis_ ? shiftJisCharacters() : byteModeCharacters();
    for (int i = 0; i < tokens; ++i) {
        std::size_t roll = random_.below(100);
        int group = pattern.groups > 0 ? random_.between(1, pattern.groups) : 0;
        if (roll < 35) {
            std::string c = random_.pick(pool);
            if (c[0] == '\0') continue;  // a command cannot hold a zero byte
            if (c.size() == 1 && (c[0] == '\\' || c[0] == '$' || c[0] == '/')) {
                out += "\\" + c;
            } else if (c.size() == 2 && random_.percent(20)) {
                out += "\\" + c;  // a backslash before a double-byte character gives the character
            } else {
                out += c;
                // A double-byte character with a 5C trail next to a digit must stay a character.
                if (c.size() == 2 && random_.percent(30)) out += std::to_string(random_.between(1, 9));
            }
        } else if (roll < 45) {
            out += "$&";
        } else if (roll < 60 && group > 0) {
            out += "$" + std::to_string(group);
        } else if (roll < 67 && group > 0) {
            out += "${" + std::to_string(group) + "}";
        } else if (roll < 77 && group > 0) {
            out += "\\" + std::to_string(group);
        } else if (roll < 87) {
            static const std::vector<std::string> escapes = {"\\n", "\\r", "\\t", "\\\\", "\\$", "\\/",
                                                             "\\a", "\\%", "\\<", "\\z", "\\-"};
            out += random_.pick(escapes);
        } else if (roll < 92) {
            out += "$z";  // a dollar not followed by &, a digit or { is itself
        } else {
            out += random_.percent(50) ? "\n" : "x-y";
        }
    }
    return out;
}

std::vector<Case> CaseGenerator::matchCases(std::size_t patterns, std::size_t texts_per_pattern) {
    std::vector<Case> cases;
    for (std::size_t p = 0; p < patterns; ++p) {
        // g on a match finds the first match, as Perl's m//g does from the start.
        Pattern source = pattern(true);
        auto alphabet = textAlphabet(source);
        for (std::size_t t = 0; t < texts_per_pattern; ++t) {
            cases.push_back(Case{'m', source.source, "", source.flags, text(alphabet)});
        }
    }
    return cases;
}

std::vector<Case> CaseGenerator::substCases(std::size_t patterns, std::size_t texts_per_pattern) {
    std::vector<Case> cases;
    for (std::size_t p = 0; p < patterns; ++p) {
        Pattern source = pattern(true);
        std::string with = replacement(source);
        auto alphabet = textAlphabet(source);
        for (std::size_t t = 0; t < texts_per_pattern; ++t) {
            cases.push_back(Case{'s', source.source, with, source.flags, text(alphabet)});
        }
    }
    return cases;
}

std::vector<Case> CaseGenerator::unsupportedCases(std::size_t patterns) {
    static const std::vector<std::string> unsupported = {
        "\\b{wb}", "\\B{gcb}", "\\p{L}", "\\P{Lu}", "(?<=a)", "(?<!a)", "a++", "a*+", "a?+", "a{1,2}+",
        "(?i)", "(?i:a)", "(?^:a)", "\\K", "(?<n>a)", "(?'n'a)", "\\g1", "(a)\\g{-1}", "(?<n>a)\\k<n>", "(?|a)",
        "\\X", "\\R", "\\N{U+41}", "\\N", "(?>a)", "\\h", "\\v", "\\H", "\\V", "(?(1)a|b)", "(?(R)a|b)",
        "(?1)", "\\G", "(?#c)", "\\o{101}", "\\cA", "\\Q.\\E", "(*FAIL)",
    };
    std::vector<Case> cases;
    for (std::size_t i = 0; i < patterns; ++i) {
        Pattern source = pattern(false);
        const std::string &piece = unsupported[i % unsupported.size()];
        // A group keeps the piece out of the pattern's alternatives and
        // quantifiers, and a group first gives the references a target.
        const std::string wrapped = "(" + source.source + ")";
        Case c{'m', random_.percent(50) ? wrapped + piece : piece + wrapped, "", source.flags, ""};
        c.text = text(textAlphabet(source));
        cases.push_back(c);
    }
    return cases;
}

}  // namespace differential
