#include "pattern_parser.h"

#include <string>

#include "bregexp_error.h"
#include "compile_budget.h"
#include "sjis.h"

namespace bregexp {

namespace {

// Deep enough for any hand-written pattern, shallow enough that the
// recursive descent can never exhaust the stack.
constexpr int kMaxNesting = 200;
constexpr uint32_t kMaxRepeatCount = 65535;

// A node as the budget sees it: the node, its allocation and its place in its parent.
constexpr size_t kNodeCost = sizeof(Node) + 32;

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_blank(unsigned char c) { return c == ' ' || c == '\t'; }
bool is_ascii_alnum(unsigned char c) { return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int hex_value(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Parser {
public:
    Parser(std::string_view pattern, const Flags &flags, CompileBudget &budget)
        : text_(reinterpret_cast<const unsigned char *>(pattern.data())), size_(pattern.size()), flags_(flags),
          budget_(budget) {}

    ParsedPattern parse() {
        ParsedPattern result;
        result.root = parse_alternation(0);
        if (pos_ < size_) throw Error("unmatched ) in pattern");
        for (int ref : backrefs_)
            if (ref > groups_) throw Error("reference to nonexistent group in pattern");
        result.group_count = groups_;
        return result;
    }

private:
    NodePtr make(Node::Kind kind) {
        budget_.charge(kNodeCost);
        return std::make_unique<Node>(kind);
    }

    bool at_end() const { return pos_ >= size_; }
    unsigned char peek() const { return text_[pos_]; }

    void skip_extended_space() {
        if (!flags_.extended) return;
        while (pos_ < size_) {
            const unsigned char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '#') {
                while (pos_ < size_ && text_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    uint32_t read_char() {
        const size_t width = char_width(text_, pos_, size_, flags_.sjis);
        const uint32_t code = char_code(text_, pos_, width);
        pos_ += width;
        return code;
    }

    NodePtr parse_alternation(int depth) {
        if (depth > kMaxNesting) throw Error("pattern nested too deeply");
        NodePtr first = parse_concat(depth);
        skip_extended_space();
        if (at_end() || peek() != '|') return first;
        NodePtr alt = make(Node::Kind::alternation);
        alt->children.push_back(std::move(first));
        while (!at_end() && peek() == '|') {
            ++pos_;
            alt->children.push_back(parse_concat(depth));
            skip_extended_space();
        }
        return alt;
    }

    NodePtr parse_concat(int depth) {
        NodePtr seq = make(Node::Kind::concat);
        for (;;) {
            skip_extended_space();
            if (at_end() || peek() == '|' || peek() == ')') break;
            NodePtr piece = parse_quantifiers(parse_atom(depth));
            if (!seq->children.empty() && append_to_text(*seq->children.back(), *piece)) {
                budget_.release(kNodeCost);  // the piece goes with this iteration
                continue;
            }
            seq->children.push_back(std::move(piece));
        }
        if (seq->children.size() == 1) return std::move(seq->children[0]);
        return seq;
    }

    // Under k a lone lead byte must stay a character of its own: next to a
    // trail byte it would read as one double-byte character.
    bool joinable(const Node &node) const {
        if (node.kind == Node::Kind::text) return true;
        if (node.kind != Node::Kind::literal) return false;
        return !(flags_.sjis && node.code < 256 && is_lead_byte(static_cast<unsigned char>(node.code)));
    }

    static void append_code(uint32_t code, std::string &text) {
        if (code >= 256) text += static_cast<char>(code >> 8);
        text += static_cast<char>(code & 0xFF);
    }

    // Adjacent literal characters become one text node: a long literal
    // pattern then costs a few bytes per character, not a node each.
    bool append_to_text(Node &previous, const Node &piece) {
        if (piece.kind != Node::Kind::literal || !joinable(piece) || !joinable(previous) || previous.fold != piece.fold)
            return false;
        if (previous.kind == Node::Kind::literal) {
            previous.kind = Node::Kind::text;
            append_code(previous.code, previous.text);
        }
        budget_.charge(2);
        append_code(piece.code, previous.text);
        return true;
    }

    // Reads "{n}", "{n,}", "{n,m}" or "{,m}" at pos_, with blanks (spaces,
    // tabs) around the numbers and the comma as Perl allows them; leaves pos_
    // alone and returns false when the brace is not a quantifier (Perl then
    // takes it literally). With n > m, min > max: a quantifier that cannot match.
    bool read_braces(uint32_t &min, uint32_t &max) {
        size_t p = pos_ + 1;
        auto skip_blanks = [&]() {
            while (p < size_ && is_blank(text_[p])) ++p;
        };
        auto read_number = [&](uint32_t &value) {
            skip_blanks();
            const size_t start = p;
            uint64_t n = 0;
            while (p < size_ && is_digit(text_[p])) {
                n = n * 10 + (text_[p] - '0');
                if (n > kMaxRepeatCount) throw Error("quantifier count too large");
                ++p;
            }
            value = static_cast<uint32_t>(n);
            const bool found = p > start;
            skip_blanks();
            return found;
        };
        uint32_t low = 0, high = 0;
        const bool has_low = read_number(low);
        if (p < size_ && text_[p] == '}') {
            if (!has_low) return false;
            min = max = low;
        } else if (p < size_ && text_[p] == ',') {
            ++p;
            const bool has_high = read_number(high);
            if (p >= size_ || text_[p] != '}' || (!has_low && !has_high)) return false;
            min = has_low ? low : 0;
            max = has_high ? high : kUnbounded;
        } else {
            return false;
        }
        pos_ = p + 1;
        return true;
    }

    bool read_quantifier(uint32_t &min, uint32_t &max) {
        if (at_end()) return false;
        switch (peek()) {
        case '*': min = 0; max = kUnbounded; ++pos_; return true;
        case '+': min = 1; max = kUnbounded; ++pos_; return true;
        case '?': min = 0; max = 1; ++pos_; return true;
        case '{': return read_braces(min, max);
        default: return false;
        }
    }

    NodePtr parse_quantifiers(NodePtr atom) {
        skip_extended_space();
        uint32_t min = 0, max = 0;
        if (!read_quantifier(min, max)) return atom;
        if (min > max) return impossible_repeat();
        NodePtr repeat = make(Node::Kind::repeat);
        repeat->min = min;
        repeat->max = max;
        skip_extended_space();  // under x, "a+ ?" is a lazy a+
        if (!at_end() && peek() == '?') {
            repeat->greedy = false;
            ++pos_;
        } else if (!at_end() && peek() == '+') {
            throw Error("possessive quantifiers are not supported");
        }
        repeat->children.push_back(std::move(atom));
        reject_second_quantifier();
        return repeat;
    }

    void reject_second_quantifier() {
        skip_extended_space();
        uint32_t again_min = 0, again_max = 0;
        const size_t here = pos_;
        if (read_quantifier(again_min, again_max)) {
            pos_ = here;
            throw Error("nested quantifiers in pattern");
        }
    }

    // {n,m} with n > m: as in Perl, a part that cannot match. A lazy or
    // possessive mark after it has nothing to apply to; a further count in
    // braces is taken and changes nothing.
    NodePtr impossible_repeat() {
        skip_extended_space();
        if (!at_end() && (peek() == '?' || peek() == '+' || peek() == '*')) throw Error("nothing to repeat in pattern");
        uint32_t min = 0, max = 0;
        if (!at_end() && peek() == '{' && read_braces(min, max)) reject_second_quantifier();
        return class_node(CharClass());
    }

    NodePtr literal(uint32_t code) {
        NodePtr node = make(Node::Kind::literal);
        node->code = code;
        node->fold = flags_.ignore_case;
        return node;
    }

    NodePtr assertion(AssertKind kind) {
        NodePtr node = make(Node::Kind::assertion);
        node->assertion = kind;
        return node;
    }

    NodePtr class_node(CharClass chars) {
        NodePtr node = make(Node::Kind::char_class);
        if (flags_.ignore_case) chars.fold_ascii_case();
        node->chars = std::move(chars);
        return node;
    }

    NodePtr parse_atom(int depth) {
        const unsigned char c = peek();
        switch (c) {
        case '(': return parse_group(depth);
        case '[': ++pos_; return parse_class();
        case '.': {
            ++pos_;
            NodePtr node = make(Node::Kind::any);
            node->dot_all = flags_.dot_all;
            return node;
        }
        case '^': ++pos_; return assertion(flags_.multi_line ? AssertKind::line_start : AssertKind::text_start);
        case '$': ++pos_; return assertion(flags_.multi_line ? AssertKind::line_end : AssertKind::text_end_or_newline);
        case '\\': return parse_escape();
        case '*': case '+': case '?': throw Error("nothing to repeat in pattern");
        case '{': {
            uint32_t min = 0, max = 0;
            if (read_braces(min, max)) throw Error("nothing to repeat in pattern");
            ++pos_;
            return literal('{');
        }
        default: return literal(read_char());
        }
    }

    NodePtr parse_group(int depth) {
        ++pos_;
        NodePtr node;
        if (!at_end() && peek() == '?') {
            ++pos_;
            const unsigned char kind = at_end() ? 0 : peek();
            ++pos_;
            if (kind == ':') {
                node = make(Node::Kind::group);
            } else if (kind == '=' || kind == '!') {
                node = make(Node::Kind::lookahead);
                node->negative = kind == '!';
            } else {
                throw Error("unsupported group syntax (? in pattern");
            }
        } else {
            node = make(Node::Kind::group);
            node->group = ++groups_;
        }
        node->children.push_back(parse_alternation(depth + 1));
        if (at_end() || peek() != ')') throw Error("unmatched ( in pattern");
        ++pos_;
        return node;
    }

    // Escapes that stand for one character, shared by classes and the rest.
    bool read_char_escape(unsigned char c, uint32_t &code) {
        switch (c) {
        case 'n': code = '\n'; return true;
        case 'r': code = '\r'; return true;
        case 't': code = '\t'; return true;
        case 'f': code = '\f'; return true;
        case 'e': code = 0x1B; return true;
        case 'a': code = 0x07; return true;
        case '0': {
            code = 0;
            for (int i = 0; i < 2 && !at_end() && peek() >= '0' && peek() <= '7'; ++i) code = code * 8 + (text_[pos_++] - '0');
            return true;
        }
        case 'x': {
            code = 0;
            if (!at_end() && peek() == '{') {
                ++pos_;
                int digits = 0;
                while (!at_end() && hex_value(peek()) >= 0) {
                    code = code * 16 + static_cast<uint32_t>(hex_value(text_[pos_++]));
                    if (code > 0xFF) throw Error("\\x{...} above 0xFF in pattern");
                    ++digits;
                }
                if (at_end() || peek() != '}' || digits == 0) throw Error("malformed \\x{...} in pattern");
                ++pos_;
                return true;
            }
            for (int i = 0; i < 2 && !at_end() && hex_value(peek()) >= 0; ++i)
                code = code * 16 + static_cast<uint32_t>(hex_value(text_[pos_++]));
            return true;
        }
        default: return false;
        }
    }

    // Adds the set of \d \w \s or their negations to chars (which may
    // already hold other members: the negation applies to the escape alone).
    bool read_class_escape(unsigned char c, CharClass &chars) {
        CharClass set;
        switch (c) {
        case 'd': case 'D': set.add_digits(); break;
        case 'w': case 'W': set.add_word_chars(); break;
        case 's': case 'S': set.add_spaces(); break;
        default: return false;
        }
        if (c == 'D' || c == 'W' || c == 'S') set.negate();
        chars.add_class(set);
        return true;
    }

    [[noreturn]] void unknown_escape(unsigned char c) {
        std::string message = "unknown escape \\";
        message += static_cast<char>(c);
        throw Error(message + " in pattern");
    }

    NodePtr parse_escape() {
        ++pos_;
        if (at_end()) throw Error("trailing \\ in pattern");
        const unsigned char c = peek();
        if (!is_ascii_alnum(c)) return literal(read_char());
        ++pos_;
        uint32_t code = 0;
        if (read_char_escape(c, code)) return literal(code);
        CharClass chars;
        if (read_class_escape(c, chars)) return class_node(std::move(chars));
        switch (c) {
        case 'A': return assertion(AssertKind::text_start);
        case 'z': return assertion(AssertKind::text_end);
        case 'Z': return assertion(AssertKind::text_end_or_newline);
        case 'b':
        case 'B':
            if (!at_end() && peek() == '{') throw Error("\\b{...} and \\B{...} are not supported in pattern");
            return assertion(c == 'b' ? AssertKind::word_boundary : AssertKind::not_word_boundary);
        default: break;
        }
        if (c >= '1' && c <= '9') {
            uint32_t number = c - '0';
            while (!at_end() && is_digit(peek())) {
                number = number * 10 + (text_[pos_++] - '0');
                if (number > 1000) throw Error("reference to nonexistent group in pattern");
            }
            NodePtr node = make(Node::Kind::backref);
            node->group = static_cast<int>(number);
            node->fold = flags_.ignore_case;
            backrefs_.push_back(node->group);
            return node;
        }
        unknown_escape(c);
    }

    // "[:name:]" or "[:^name:]" at pos_ (inside brackets): adds Perl's POSIX
    // class and returns true. A name of three or more lower-case letters or
    // digits that Perl does not know is an error, as are "[.x.]" and
    // "[=x=]"; anything else is no POSIX class and is read as characters.
    bool read_posix_class(CharClass &chars) {
        if (pos_ + 1 >= size_ || peek() != '[') return false;
        const unsigned char kind = text_[pos_ + 1];
        if (kind == '.' || kind == '=') {
            for (size_t p = pos_ + 2; p + 1 < size_ && text_[p] != ']'; ++p)
                if (text_[p] == kind && text_[p + 1] == ']') throw Error("POSIX [. .] and [= =] are not supported in pattern");
            return false;
        }
        if (kind != ':') return false;
        size_t p = pos_ + 2;
        const bool negated = p < size_ && text_[p] == '^';
        if (negated) ++p;
        const size_t name_start = p;
        while (p < size_ && ((text_[p] >= 'a' && text_[p] <= 'z') || is_digit(text_[p]))) ++p;
        if (p + 1 >= size_ || text_[p] != ':' || text_[p + 1] != ']' || p - name_start < 3) return false;
        const std::string name(reinterpret_cast<const char *>(text_ + name_start), p - name_start);
        CharClass set;
        if (!set.add_posix(name))
            throw Error("unknown POSIX class [:" + (name.size() > 24 ? name.substr(0, 24) + "..." : name) + ":] in pattern");
        // Under i the class stands for both cases before it is negated:
        // [[:^upper:]] then leaves out every letter, as in Perl.
        if (flags_.ignore_case) set.fold_ascii_case();
        if (negated) set.negate();
        chars.add_class(set);
        pos_ = p + 2;
        return true;
    }

    // One class member: a character code, or (returning false) a set escape
    // or POSIX class added to chars.
    bool read_class_member(CharClass &chars, uint32_t &code) {
        if (read_posix_class(chars)) return false;
        if (peek() != '\\') {
            code = read_char();
            return true;
        }
        ++pos_;
        if (at_end()) throw Error("unmatched [ in pattern");
        const unsigned char c = peek();
        if (!is_ascii_alnum(c)) {
            code = read_char();
            return true;
        }
        ++pos_;
        if (c == 'b') {
            code = 0x08;
            return true;
        }
        if (read_char_escape(c, code)) return true;
        if (read_class_escape(c, chars)) return false;
        unknown_escape(c);
    }

    NodePtr parse_class() {
        CharClass chars;
        bool negated = false;
        if (!at_end() && peek() == '^') {
            negated = true;
            ++pos_;
        }
        bool first = true;
        for (;;) {
            if (at_end()) throw Error("unmatched [ in pattern");
            if (peek() == ']' && !first) {
                ++pos_;
                break;
            }
            first = false;
            uint32_t low = 0;
            if (!read_class_member(chars, low)) continue;
            if (pos_ + 1 < size_ && peek() == '-' && text_[pos_ + 1] != ']') {
                const size_t dash = pos_;
                ++pos_;
                CharClass set_escape;
                uint32_t high = 0;
                if (!read_class_member(set_escape, high)) {
                    // "[a-\d]": Perl takes the dash literally.
                    chars.add(low);
                    chars.add('-');
                    chars.add_class(set_escape);
                    continue;
                }
                if (high < low) {
                    pos_ = dash;
                    throw Error("invalid range in character class");
                }
                chars.add_range(low, high);
            } else {
                chars.add(low);
            }
        }
        if (flags_.ignore_case) chars.fold_ascii_case();
        if (negated) chars.negate();
        NodePtr node = make(Node::Kind::char_class);
        node->chars = std::move(chars);
        return node;
    }

    const unsigned char *text_;
    size_t size_;
    size_t pos_ = 0;
    Flags flags_;
    CompileBudget &budget_;
    int groups_ = 0;
    std::vector<int> backrefs_;
};

}  // namespace

ParsedPattern parse_pattern(std::string_view pattern, const Flags &flags, CompileBudget &budget) {
    return Parser(pattern, flags, budget).parse();
}

}  // namespace bregexp
