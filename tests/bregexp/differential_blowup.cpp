#include "differential_blowup.h"

#include "differential_generator.h"
#include "differential_random.h"

#include <string>

namespace differential {

namespace {

struct Atoms {
    std::string x, y, separator, last;  // pattern pieces; last is the closing literal
    std::vector<std::string> text;      // what texts are made of
    std::string last_text;
};

// Pieces as written in a pattern; the text uses them without the backslash.
Atoms atoms(Random &random, bool shift_jis) {
    static const std::vector<std::vector<std::string>> byte_sets = {
        {"a", "b", ",", "c"}, {"x", "y", "-", "z"}, {"0", "1", ";", "9"}, {"a", "\\.", "\\/", "!"},
    };
    static const std::vector<std::vector<std::string>> sjis_sets = {
        {"\x83\x41", "\x83\x43", ",", "z"},  // katakana a, i
        {"\x83\x5c", "a", "\x95\x5c", "!"},  // so, hyou: 5C trail bytes
    };
    const auto &set = random.pick(shift_jis ? sjis_sets : byte_sets);
    auto plain = [](const std::string &piece) { return piece[0] == '\\' ? piece.substr(1) : piece; };
    Atoms a{set[0], set[1], set[2], set[3], {}, {}};
    a.text = {plain(a.x), plain(a.x), plain(a.x), plain(a.y), plain(a.separator)};
    a.last_text = plain(a.last);
    return a;
}

std::string pattern(Random &random, const Atoms &a) {
    // Perl's own time grows fast with the count on these texts.
    const std::string k = std::to_string(random.between(2, 5));
    const std::string &x = a.x, &y = a.y, &s = a.separator, &l = a.last;
    const std::vector<std::string> shapes = {
        "(" + x + "+)+" + l,
        "(" + x + "+)+$",
        "(" + x + "*)*" + l,
        "(?:" + x + "|" + x + x + ")+" + l,
        "(" + x + "|" + x + y + ")*" + l,
        "((?:" + x + "|" + y + ")+)+" + l,
        "(?:(" + x + "+)" + y + "?)*" + l,
        "(.*?" + s + "){" + k + "}" + l,
        "(?:.*?" + s + ")*?" + l,
        "(" + x + "+?" + s + ")+" + l,
        "(?:" + x + "*?" + y + ")*" + l,
        "^(?:(" + x + "+)" + s + "?)+$",
        "(?:(?!" + s + s + ").)*?" + l,
        "((?:" + x + "|" + y + ")*?" + s + "){2,}" + l,
        // Bounded repeats inside counted ones, loops of choices, empty
        // alternatives in a loop, lookaheads in loops.
        "^(" + x + "?){" + k + "}" + x + "{" + k + "}$",
        "^(?:" + x + "{0,3}){" + k + "}$",
        "(?:" + x + "|" + x + y + ")*(?:" + l + "|" + s + ")",
        "(" + x + "+" + s + "?)*$",
        "^(?:" + x + y + "|" + x + l + ")*$",
        "(?:(?:|)(?:|)(?:|)" + x + "?)*" + l,
        "(?:(?=" + x + "*" + l + ")" + x + ")*" + l,
        "(?:(?!" + x + "*" + y + ")" + x + ")+$",
        "^(?:(?=(" + x + "+))" + x + ")*" + l,
        "(?:" + x + "(" + y + ")?)+" + l,
    };
    return random.pick(shapes);
}

// Mostly runs of the repeated atoms, so that every split point is tried;
// the closing literal only now and then.
std::string text(Random &random, const Atoms &a) {
    std::vector<std::string> pieces;
    const int length = random.between(12, 160);
    for (int i = 0; i < length; ++i) pieces.push_back(random.pick(a.text));
    if (random.percent(50)) pieces.insert(pieces.begin() + static_cast<long>(random.below(pieces.size() + 1)), a.last_text);
    pieces.push_back(random.percent(50) ? "\n" : a.text[3]);
    std::string out;
    for (const std::string &piece : pieces) out += piece;
    return out;
}

}  // namespace

bool hasBackReference(const std::string &pattern, bool shift_jis) {
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (shift_jis && shiftJisCharLength(pattern, i) == 2) {
            ++i;  // a trail byte 5C is no backslash
        } else if (pattern[i] == '\\') {
            if (pattern[i + 1] >= '1' && pattern[i + 1] <= '9') return true;
            ++i;  // an escaped character, whatever it is
        }
    }
    return false;
}

std::vector<Case> blowupCases(std::uint64_t seed, std::size_t patterns, std::size_t texts_per_pattern) {
    Random random(seed);
    std::vector<Case> cases;
    for (std::size_t p = 0; p < patterns; ++p) {
        const bool shift_jis = random.percent(25);
        const Atoms a = atoms(random, shift_jis);
        const std::string source = pattern(random, a);
        const std::string flags = shift_jis ? "k" : "";
        for (std::size_t t = 0; t < texts_per_pattern; ++t) cases.push_back(Case{'m', source, "", flags, text(random, a)});
    }
    return cases;
}

}  // namespace differential
