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

bool PatternWriter::alternation(int depth) {
    int branches = random_.percent(75) ? 1 : random_.between(2, 3);
    bool nullable = false;
    for (int i = 0; i < branches; ++i) {
        if (i > 0) append("|");
        // Empty branches are valid and worth covering, but rarely.
        nullable = (random_.percent(5) || sequence(depth)) || nullable;
    }
    return nullable;
}

bool PatternWriter::sequence(int depth) {
    int pieces = random_.between(1, depth == 0 ? 5 : 3);
    bool nullable = true;
    for (int i = 0; i < pieces; ++i) {
        if (extended_ && random_.percent(30)) layout();
        nullable = piece(depth) && nullable;
    }
    return nullable;
}

void PatternWriter::layout() {
    static const std::vector<std::string> fillers = {" ", "  ", "\t", "\n", " # note (x|\n", "#c\n"};
    append(random_.pick(fillers), numeric_tail_);
}

bool PatternWriter::piece(int depth) {
    // Decided first, so that a group knows whether it is repeated.
    quantify_next_ = random_.percent(35);
    bool quantify = quantify_next_;
    bool nullable = false;
    if (atom(depth, nullable) && quantify) {
        if (extended_ && random_.percent(10)) append(" ", numeric_tail_);
        nullable = quantifier() || nullable;
    }
    return nullable;
}

// Blanks Perl 5.34+ allows inside braces: after "{", around the comma, before "}".
std::string PatternWriter::blank() {
    static const std::vector<std::string> blanks = {"", "", "", " ", "\t", "  "};
    return random_.pick(blanks);
}

bool PatternWriter::quantifier() {
    static const std::vector<std::string> simple = {"*", "+", "?"};
    std::string q;
    // Perl 5.36 lets a literal with {0} or {0,0} match one character of a
    // decoded (UTF-8) string, so under k the upper bound is at least 1.
    int least_max = shift_jis_ ? 1 : 0;
    // Perl 5.36 also misses matches of an exact count inside a counted group
    // after a star ("a*b(?:c{1}){2}" finds nothing in "bcc"), so inside
    // repeated groups a count range is always a true range.
    int least_spread = repeated_groups_ > 0 ? 1 : 0;
    int low = 0;
    switch (random_.below(7)) {
    case 0: case 1: case 2:
        q = random_.pick(simple);
        low = q == "+" ? 1 : 0;
        break;
    case 3:
        low = random_.between(least_max, 3);
        q = least_spread > 0 ? "{" + std::to_string(low) + ",}" : "{" + std::to_string(low) + "}";
        break;
    case 4:
        low = random_.between(0, 2);
        q = "{" + blank() + std::to_string(low) + blank() + "," + blank() + "}";
        break;
    case 5:
        if (random_.percent(15) && repeated_groups_ == 0) {
            // n > m: a part that cannot match (a lazy mark after it is an error).
            append("{" + std::to_string(random_.between(2, 3)) + "," + std::to_string(random_.between(0, 1)) + "}");
            return false;
        }
        [[fallthrough]];
    default: {
        low = random_.between(0, 2);
        int high = std::max(least_max, low + random_.between(least_spread, 2));
        q = "{" + blank() + std::to_string(low) + blank() + "," + blank() + std::to_string(high) + blank() + "}";
    }
    }
    // Under x blanks may come between a quantifier and its lazy mark.
    if (random_.percent(35)) q += extended_ && random_.percent(30) ? " ?" : "?";
    append(q);
    return low == 0;
}

bool PatternWriter::atom(int depth, bool &nullable) {
    static const std::vector<std::string> class_escapes = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S"};
    static const std::vector<std::string> anchors = {"^", "$", "\\A", "\\z", "\\Z", "\\b", "\\B"};
    std::size_t roll = random_.below(100);
    bool nesting = depth < kMaxDepth;
    nullable = false;
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
    nullable = true;
    if (roll < 71) {
        append(random_.pick(anchors));
        return false;
    }
    // Perl keeps what a group captured inside a failed negative lookahead,
    // and what a group inside a repeated group captured in an iteration that
    // was backtracked (or clears it, depending on how it optimised the
    // loop): accidents of its implementation, not rules to compare. Such
    // groups are therefore not capturing; the repeated group itself is.
    bool capture_allowed = negative_lookaheads_ == 0 && repeated_groups_ == 0;
    if (roll < 82 && nesting && groups_ < kMaxGroups && capture_allowed) {
        nullable = group(depth, "(", true);
        return true;
    }
    if (roll < 87 && nesting) {
        nullable = group(depth, "(?:", false);
        return true;
    }
    if (roll < 88 && nesting && groups_ < kMaxGroups && capture_allowed && !quantify_next_ && random_.percent(40)) {
        repeatedGroupWithOptionalGroup();
        return false;
    }
    if (roll < 92 && nesting) {
        if (random_.percent(50)) {
            ++negative_lookaheads_;
            group(depth, "(?!", false);
            --negative_lookaheads_;
        } else {
            positiveLookahead(depth);
        }
        return false;
    }
    if (!closed_groups_.empty()) {
        append("\\" + std::to_string(random_.pick(closed_groups_)), true);
        return true;
    }
    nullable = false;
    literal(pickCharacter());
    return true;
}

// "(?:L(G)Q)+" with G of fixed width and no group inside: Perl unsets the
// group when Q repeats it zero times in a later iteration. Literals around
// the group keep the iterations from backtracking into each other.
void PatternWriter::repeatedGroupWithOptionalGroup() {
    static const std::vector<std::string> zero_or_more = {"?", "*", "{0,1}", "??", "{0,2}", "*?"};
    static const std::vector<std::string> loops = {"+", "*", "{1,3}", "{2}", "+?"};
    const std::string lead = pickLiteralCharacter();
    std::string inner;
    std::vector<std::string> inner_characters;
    for (int i = random_.between(1, 2); i > 0; --i) {
        const std::string c = pickLiteralCharacter();
        inner += c;
        inner_characters.push_back(c);
    }
    if (random_.percent(30)) inner += "|" + std::string(inner_characters.size() == 1 ? "" : "\\d") + pickLiteralCharacter();
    ++groups_;
    append("(?:" + lead + "(" + inner + ")" + random_.pick(zero_or_more) + ")" + random_.pick(loops));
    characters_.push_back(lead);
    for (const auto &c : inner_characters) characters_.push_back(c);
}

// A letter or digit: written as it is, the same character in both engines.
std::string PatternWriter::pickLiteralCharacter() {
    static const std::vector<std::string> plain = {"a", "b", "c", "x", "0", "1", "B"};
    return random_.pick(plain);
}

void PatternWriter::positiveLookahead(int depth) {
    // Perl 5.36 misses matches after a lookahead whose body can match empty
    // ("(?=x?)1*a" finds nothing in "a"), so such bodies are written again.
    const std::string saved_out = out_;
    const int saved_groups = groups_;
    const auto saved_closed = closed_groups_;
    const bool saved_tail = numeric_tail_;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!group(depth, "(?=", false)) return;
        out_ = saved_out;
        groups_ = saved_groups;
        closed_groups_ = saved_closed;
        numeric_tail_ = saved_tail;
    }
    append("(?=\\S)");
}

bool PatternWriter::group(int depth, const char *opener, bool capturing) {
    bool repeated = quantify_next_;
    int number = capturing ? ++groups_ : 0;
    repeated_groups_ += repeated ? 1 : 0;
    append(opener);
    bool nullable = alternation(depth + 1);
    append(")");
    repeated_groups_ -= repeated ? 1 : 0;
    // Perl 5.36's loop cache gets back-references to a repeated group wrong
    // ("(.{1,})*?\0\1" on "BB", NUL, "B " starts at 1, not 0): refer to plain
    // groups only.
    if (capturing && !repeated) closed_groups_.push_back(number);
    return nullable;
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
        std::size_t roll = random_.below(11);
        if (roll < 5) {
            classMember(pickCharacter());
        } else if (roll < 8 || (negated && escape_used)) {
            classRange();
        } else if (roll == 10) {
            posixClass();
        } else {
            // A negated class of complementary escapes such as [^\d\D] can
            // match nothing, and Perl 5.36 panics on a quantified one.
            append(random_.pick(class_escapes));
            escape_used = true;
        }
    }
    append("]");
}

void PatternWriter::posixClass() {
    static const std::vector<std::string> names = {"alpha", "digit", "alnum", "upper", "lower", "space", "blank",
                                                   "punct", "print", "graph", "cntrl", "xdigit", "word", "ascii"};
    static const std::vector<std::string> samples = {"a", "Z", "5", " ", "\t", "!", "_", "~", "\x7f", "f"};
    append("[:" + std::string(random_.percent(25) ? "^" : "") + random_.pick(names) + ":]");
    characters_.push_back(random_.pick(samples));
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
