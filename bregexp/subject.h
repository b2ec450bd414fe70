// The text being searched, as every engine reads it: character widths under
// Shift_JIS, single-character items, zero-width assertions and string
// comparisons. Stepping back over a long run of lead-range bytes is
// remembered, so walking backwards through it costs no rescans.
#ifndef BREGEXP_SUBJECT_H
#define BREGEXP_SUBJECT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "program.h"
#include "sjis.h"

namespace bregexp {

constexpr size_t kNoPosition = static_cast<size_t>(-1);

class Subject {
public:
    Subject(const Program &program, const char *text, size_t size)
        : program_(program), text_(reinterpret_cast<const unsigned char *>(text)), size_(size), sjis_(program.sjis) {}

    const Program &program() const { return program_; }
    const unsigned char *bytes() const { return text_; }
    size_t size() const { return size_; }
    bool sjis() const { return sjis_; }

    // Bytes of the character at pos (pos < size).
    size_t width(size_t pos) const { return char_width(text_, pos, size_, sjis_); }
    // Start of the character that ends at pos (lower and pos are character
    // boundaries, lower < pos); scanned counts the bytes looked at.
    size_t char_before(size_t lower, size_t pos, size_t &scanned);
    // Bytes a single-character item (an op and its operand) consumes at pos;
    // 0 when it does not match. Inline: the engines' innermost loops call it.
    size_t item_width(Op item, uint32_t a, size_t pos) const;
    bool assertion_holds(AssertKind kind, size_t pos, size_t &scanned);
    // Whether s is at pos (ASCII letters in either case for fold).
    bool string_at(const std::string &s, bool fold, size_t pos) const;
    // Whether the from..to copy is at pos, ASCII case folded for fold,
    // ending on a character boundary of the text there.
    bool copy_at(size_t from, size_t to, bool fold, size_t pos) const;

private:
    bool word_before(size_t pos, size_t &scanned);

    const Program &program_;
    const unsigned char *text_;
    size_t size_;
    bool sjis_;
    size_t run_cache_start_ = 0;  // a maximal run of lead-range bytes seen last
    size_t run_cache_end_ = kNoPosition;
};

inline size_t Subject::item_width(Op item, uint32_t a, size_t pos) const {
    if (pos >= size_) return 0;
    switch (item) {
    case Op::literal: {
        const size_t w = width(pos);
        return char_code(text_, pos, w) == a ? w : 0;
    }
    case Op::literal_fold: return (text_[pos] | 0x20u) == a ? 1 : 0;
    case Op::any: return text_[pos] != '\n' ? width(pos) : 0;
    case Op::any_all: return width(pos);
    case Op::char_class: {
        const size_t w = width(pos);
        return program_.classes[a].matches(char_code(text_, pos, w)) ? w : 0;
    }
    case Op::any_unless:
    case Op::any_all_unless: {
        const std::string &s = program_.strings[a];
        if (text_[pos] == static_cast<unsigned char>(s[0]) && size_ - pos >= s.size() &&
            std::memcmp(text_ + pos, s.data(), s.size()) == 0)
            return 0;
        return item == Op::any_unless && text_[pos] == '\n' ? 0 : width(pos);
    }
    default: return 0;
    }
}

}  // namespace bregexp

#endif
