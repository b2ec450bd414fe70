#include "replacement.h"

#include "bregexp_error.h"
#include "subject.h"
#include "sjis.h"

namespace bregexp {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int read_number(std::string_view text, size_t &pos) {
    long value = 0;
    while (pos < text.size() && is_digit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        if (value > 100000) throw Error("group number too large in replacement");
        ++pos;
    }
    return static_cast<int>(value);
}

}  // namespace

Replacement::Replacement(std::string_view text, bool sjis) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\\' && pos + 1 < text.size()) {
            const char next = text[pos + 1];
            if (next >= '1' && next <= '9') {
                add_group(next - '0');
                pos += 2;
                continue;
            }
            const char *special = nullptr;
            switch (next) {
            case 'n': special = "\n"; break;
            case 'r': special = "\r"; break;
            case 't': special = "\t"; break;
            default: break;
            }
            if (special) {
                add_literal(special);
                pos += 2;
                continue;
            }
            // Any other character stands for itself, a whole double-byte one under k.
            const size_t width = char_width(bytes, pos + 1, text.size(), sjis);
            add_literal(text.substr(pos + 1, width));
            pos += 1 + width;
            continue;
        }
        if (c == '$' && pos + 1 < text.size()) {
            const char next = text[pos + 1];
            if (next == '&') {
                add_group(0);
                pos += 2;
                continue;
            }
            if (is_digit(next)) {
                ++pos;
                add_group(read_number(text, pos));
                continue;
            }
            if (next == '{') {
                size_t p = pos + 2;
                const size_t digits_start = p;
                const int group = read_number(text, p);
                if (p == digits_start || p >= text.size() || text[p] != '}') throw Error("malformed ${...} in replacement");
                add_group(group);
                pos = p + 1;
                continue;
            }
        }
        const size_t width = char_width(bytes, pos, text.size(), sjis);
        add_literal(text.substr(pos, width));
        pos += width;
    }
}

void Replacement::add_literal(std::string_view bytes) {
    if (pieces_.empty() || pieces_.back().group >= 0) pieces_.push_back(Piece{});
    pieces_.back().literal.append(bytes);
}

void Replacement::add_group(int group) { pieces_.push_back(Piece{std::string(), group}); }

void Replacement::expand(const char *subject, const std::vector<size_t> &captures, std::string &out) const {
    for (const Piece &piece : pieces_) {
        if (piece.group < 0) {
            out += piece.literal;
            continue;
        }
        const size_t slot = 2 * static_cast<size_t>(piece.group);
        // A group the pattern does not have, or one that took no part, gives nothing.
        if (slot + 1 >= captures.size() || captures[slot] == kNoPosition || captures[slot + 1] == kNoPosition) continue;
        out.append(subject + captures[slot], captures[slot + 1] - captures[slot]);
    }
}

}  // namespace bregexp
