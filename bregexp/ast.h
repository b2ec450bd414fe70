// The parsed form of a pattern, before it is compiled for the matcher.
#ifndef BREGEXP_AST_H
#define BREGEXP_AST_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "char_class.h"

namespace bregexp {

enum class AssertKind { line_start, line_end, text_start, text_end, text_end_or_newline, word_boundary, not_word_boundary };

constexpr uint32_t kUnbounded = UINT32_MAX;

struct Node {
    enum class Kind { empty, literal, text, any, char_class, concat, alternation, group, repeat, assertion, backref, lookahead };

    Kind kind = Kind::empty;
    uint32_t code = 0;             // literal: character code
    std::string text;              // text: two or more literal characters, compared byte for byte
    bool fold = false;             // literal, text, backref: ASCII case folding
    bool dot_all = false;          // any: also matches "\n"
    CharClass chars;               // char_class
    int group = 0;                 // group: capture number, 0 for (?:...); backref: group referred to
    uint32_t min = 0, max = 0;     // repeat
    bool greedy = true;            // repeat
    bool negative = false;         // lookahead
    AssertKind assertion = AssertKind::text_start;
    std::vector<std::unique_ptr<Node>> children;

    explicit Node(Kind k) : kind(k) {}
};

using NodePtr = std::unique_ptr<Node>;

}  // namespace bregexp

#endif
