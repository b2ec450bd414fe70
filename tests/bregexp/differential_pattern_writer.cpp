#include "differential_pattern_writer.h"

#include "differential_generator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace differential {

namespace {

constexpr int kMaxDepth = 3;
constexpr int kMaxGroups = 9;

std::string hexEscape(unsigned char byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02x", byte);
    return buffer;
}

bool isMeta(unsigned char c) { return std::strchr(".^$|()[]{}*+?\\/", c) != nullptr; }

// Range end points whose order is the same in Shift_JIS and in Unicode, so
// that a range means the same set in both engines: one list per block.
const std::vector<std::vector<std::string>> &rangeBlocks(bool shift_jis) {
    static const std::vector<std::vector<std::string>> ascii = {
        {"0", "1", "5", "9"},
        {"a", "b", "c", "m", "x", "z"},
        {"A", "B", "C", "M", "Z"},
        {"!", "%", "*", ".", "0", ":", "<", "A", "Z", "_", "a", "z", "~"},
    };
    static const std::vector<std::vector<std::string>> shift_jis_blocks = [] {
        auto blocks = ascii;
        // hiragana (82 9F .. 82 F1 = U+3041 .. U+3093)
        blocks.push_back({"\x82\x9f", "\x82\xa0", "\x82\xb1", "\x82\xdc", "\x82\xf1"});
        // katakana (83 40 .. 83 96 = U+30A1 .. U+30F6), with 5C and ASCII-looking trails
        blocks.push_back({"\x83\x40", "\x83\x41", "\x83\x43", "\x83\x5c", "\x83\x5d", "\x83\x6a", "\x83\x7c",
                          "\x83\x93", "\x83\x96"});
        // half-width katakana (A1 .. DF = U+FF61 .. U+FF9F)
        blocks.push_back({"\xb1", "\xc0", "\xdd"});
        return blocks;
    }();
    return shift_jis ? shift_jis_blocks : ascii;
}

}  // namespace

std::string PatternWriter::write() {
    out_.clear();
    do {
        alternation(0);
    } while (out_.empty());  // an empty pattern means "the last pattern" to Perl
    return out_;
}

void PatternWriter::append(const std::string &piece, bool ends_numeric) {
    out_ += piece;
    numeric_tail_ = ends_numeric;
}

std::string PatternWriter::pickCharacter() {
    const auto &pool = shift_jis_ ? shiftJisCharacters() : byteModeCharacters();
    return random_.pick(pool);
}

void PatternWriter::alternation(int depth) {
    int branches = random_.percent(75) ? 1 : random_.between(2, 3);
    for (int i = 0; i < branches; ++i) {
        if (i > 0) append("|");
        // Empty branches are valid and worth covering, but rarely.
        if (!random_.percent(5)) sequence(depth);
    }
}

void PatternWriter::sequence(int depth) {
    int pieces = random_.between(1, depth == 0 ? 5 : 3);
    for (int i = 0; i < pieces; ++i) {
        if (extended_ && random_.percent(30)) layout();
        piece(depth);
    }
}

void PatternWriter::layout() {
    static const std::vector<std::string> fillers = {" ", "  ", "\t", "\n", " # note (x|\n", "#c\n"};
    append(random_.pick(fillers), numeric_tail_);
}

void PatternWriter::piece(int depth) {
    if (atom(depth) && random_.percent(35)) {
        if (extended_ && random_.percent(10)) append(" ", numeric_tail_);
        quantifier();
    }
}

void PatternWriter::quantifier() {
    static const std::vector<std::string> simple = {"*", "+", "?"};
    std::string q;
    // Perl 5.36 lets a literal with {0} or {0,0} match one character of a
    // decoded (UTF-8) string, so under k the upper bound is at least 1.
    int least_max = shift_jis_ ? 1 : 0;
    switch (random_.below(6)) {
    case 0: case 1: case 2: q = random_.pick(simple); break;
    case 3: q = "{" + std::to_string(random_.between(least_max, 3)) + "}"; break;
    case 4: q = "{" + std::to_string(random_.between(0, 2)) + ",}"; break;
    default: {
        int low = random_.between(0, 2);
        int high = std::max(least_max, low + random_.between(0, 2));
        q = "{" + std::to_string(low) + "," + std::to_string(high) + "}";
    }
    }
    if (random_.percent(35)) q += "?";
    append(q);
}

bool PatternWriter::atom(int depth) {
    static const std::vector<std::string> class_escapes = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S"};
    static const std::vector<std::string> anchors = {"^", "$", "\\A", "\\z", "\\Z", "\\b", "\\B"};
    std::size_t roll = random_.below(100);
    bool nesting = depth < kMaxDepth;
    if (roll < 36) {
        literal(pickCharacter());
        return true;
    }
    if (roll < 44) {
        append(".");
        return true;
    }
    if (roll < 56) {
        characterClass();
        return true;
    }
    if (roll < 64) {
        append(random_.pick(class_escapes));
        return true;
    }
    if (roll < 71) {
        append(random_.pick(anchors));
        return false;
    }
    // Perl keeps what a group captured inside a failed negative lookahead;
    // that is an accident of its implementation, not a rule to compare.
    if (roll < 82 && nesting && groups_ < kMaxGroups && negative_lookaheads_ == 0) {
        group(depth, "(", true);
        return true;
    }
    if (roll < 87 && nesting) {
        group(depth, "(?:", false);
        return true;
    }
    if (roll < 92 && nesting) {
        bool negative = random_.percent(50);
        negative_lookaheads_ += negative ? 1 : 0;
        group(depth, negative ? "(?!" : "(?=", false);
        negative_lookaheads_ -= negative ? 1 : 0;
        return false;
    }
    if (!closed_groups_.empty()) {
        append("\\" + std::to_string(random_.pick(closed_groups_)), true);
        return true;
    }
    literal(pickCharacter());
    return true;
}

void PatternWriter::group(int depth, const char *opener, bool capturing) {
    int number = capturing ? ++groups_ : 0;
    append(opener);
    alternation(depth + 1);
    append(")");
    if (capturing) closed_groups_.push_back(number);
}

void PatternWriter::literal(const std::string &character) {
    characters_.push_back(character);
    if (character.size() == 2) {  // a double-byte character is written as it is
        append(character);
        return;
    }
    auto c = static_cast<unsigned char>(character[0]);
    if (c >= 0x80) {
        // Under k a \xHH escape above 7F names a byte to us but a code point to Perl.
        append(!shift_jis_ && random_.percent(50) ? hexEscape(c) : character);
        return;
    }
    switch (c) {
    case '\n': append(!extended_ && random_.percent(20) ? "\n" : "\\n"); return;
    case '\t': append(!extended_ && random_.percent(20) ? "\t" : "\\t"); return;
    case '\r': append("\\r"); return;
    case '\f': append("\\f"); return;
    case 0x1B: append("\\e"); return;
    case 0: append(random_.percent(50) ? "\\x00" : "\\0", true); return;
    case ' ': append(extended_ ? (random_.percent(50) ? "\\ " : "\\x20") : " "); return;
    default: break;
    }
    if (c < 0x20 || c == 0x7F) {
        append(hexEscape(c));
    } else if (std::isdigit(c)) {
        append(numeric_tail_ || random_.percent(10) ? hexEscape(c) : character);
    } else if (std::isalpha(c) || c == '_') {
        append(random_.percent(10) ? hexEscape(c) : character);
    } else if (isMeta(c) || (extended_ && c == '#') || random_.percent(40)) {
        append(std::string("\\") + character);  // escaped punctuation
    } else {
        append(character);
    }
}

void PatternWriter::characterClass() {
    static const std::vector<std::string> class_escapes = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S"};
    bool negated = random_.percent(30);
    append(negated ? "[^" : "[");
    int members = random_.between(1, 4);
    bool escape_used = false;
    for (int i = 0; i < members; ++i) {
        std::size_t roll = random_.below(10);
        if (roll < 5) {
            classMember(pickCharacter());
        } else if (roll < 8 || (negated && escape_used)) {
            classRange();
        } else {
            // A negated class of complementary escapes such as [^\d\D] can
            // match nothing, and Perl 5.36 panics on a quantified one.
            append(random_.pick(class_escapes));
            escape_used = true;
        }
    }
    append("]");
}

void PatternWriter::classMember(const std::string &character) {
    characters_.push_back(character);
    if (character.size() == 2) {
        append(character);
        return;
    }
    auto c = static_cast<unsigned char>(character[0]);
    if (c >= 0x80) {
        append(!shift_jis_ && random_.percent(50) ? hexEscape(c) : character);
        return;
    }
    switch (c) {
    case '\n': append("\\n"); return;
    case '\t': append("\\t"); return;
    case '\r': append("\\r"); return;
    case '\f': append("\\f"); return;
    case 0x1B: append("\\e"); return;
    case 0: append("\\x00"); return;  // [\01] would be an octal escape to Perl
    case ' ': append(extended_ ? "\\x20" : " "); return;
    default: break;
    }
    if (c < 0x20 || c == 0x7F) {
        append(hexEscape(c));
    } else if (std::isalnum(c) || c == '_') {
        append(character);
    } else if (std::strchr("]\\^-[/", c) != nullptr || (extended_ && c == '#') || random_.percent(40)) {
        append(std::string("\\") + character);
    } else {
        append(character);
    }
}

void PatternWriter::classRange() {
    const auto &block = random_.pick(rangeBlocks(shift_jis_));
    std::size_t a = random_.below(block.size());
    std::size_t b = random_.below(block.size());
    if (a > b) std::swap(a, b);
    classMember(block[a]);
    append("-");
    classMember(block[b]);
}

}  // namespace differential
