// The compiled form of a pattern: a flat instruction list for the
// backtracking matcher, plus the facts used to skip start positions.
#ifndef BREGEXP_PROGRAM_H
#define BREGEXP_PROGRAM_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ast.h"
#include "char_class.h"
#include "literal_search.h"

namespace bregexp {

enum class Op : uint8_t {
    literal,        // one character a (lone lead bytes are checked against a following trail byte)
    literal_fold,   // one ASCII byte a, either case
    string,         // bytes strings[a] compared as they are
    string_fold,    // characters strings[a], ASCII letters in either case
    any,            // any character but "\n"
    any_all,        // any character
    char_class,     // a character of classes[a]
    any_unless,     // repeat item: any character but "\n" where strings[a] does not begin
    any_all_unless, // repeat item: any character where strings[a] does not begin
    repeat,         // a single-character item (item, a) repeated min..max times, see matcher
    split,          // try a first, then b
    jump,           // go to a
    open,           // group a starts here
    close,          // group a ends here
    unset,          // group a takes no part (again): a repeat of it may match zero times
    loop_mark,      // register a = position (start of a loop iteration)
    loop_check,     // if position == register a, fall through (an empty iteration ends the loop), else go to b
    assertion,      // zero-width test of kind `assertion`
    backref,        // the text captured by group a
    lookahead,      // the sub-program at pc+1 must (not) match here; continue at b
    lookahead_end,  // end of a lookahead sub-program
    match,
};

constexpr int kNoHint = -1;
constexpr int kNoMemo = -1;

struct ByteSet {
    std::array<uint64_t, 4> bits{};
    void add(unsigned char b) { bits[b >> 6] |= uint64_t(1) << (b & 63); }
    void remove(unsigned char b) { bits[b >> 6] &= ~(uint64_t(1) << (b & 63)); }
    bool has(unsigned char b) const { return (bits[b >> 6] >> (b & 63)) & 1u; }
    void fill() { bits.fill(~uint64_t(0)); }
    void add_all(const ByteSet &other) {
        for (size_t i = 0; i < 4; ++i) bits[i] |= other.bits[i];
    }
    bool full() const { return (bits[0] & bits[1] & bits[2] & bits[3]) == ~uint64_t(0); }
};

struct Instruction {
    Op op = Op::match;
    Op item = Op::any;          // repeat: what is repeated (a single-character op or an *_unless item)
    bool greedy = true;         // repeat
    bool negative = false;      // lookahead
    bool fold = false;          // backref
    AssertKind assertion = AssertKind::text_start;
    int hint = kNoHint;         // repeat: byte the continuation must start with; split: byte branch a must start with
    int hint_b = kNoHint;       // split: byte branch b must start with
    int group = -1;             // repeat: group capturing the last repeated character
    // Row of the memo table, or kNoMemo. A repeat without an upper bound
    // records "the loop at this position fails"; any other instruction "this
    // instruction at this position fails".
    int memo = kNoMemo;
    // Register of the innermost loop whose empty-iteration check this
    // instruction can reach in the same iteration, or kNoMemo. Its outcome
    // depends on that register while the register equals the position, so
    // the memo is not used then.
    int loop = kNoMemo;
    uint32_t a = 0;
    uint32_t b = 0;
    uint32_t min = 0;
    uint32_t max = 0;
};

struct Program {
    std::vector<Instruction> code;
    std::vector<CharClass> classes;
    std::vector<std::string> strings;
    int group_count = 0;
    uint32_t loop_registers = 0;
    // For each loop register, the register of the loop around it (kNoMemo
    // for an outermost loop; a lookahead's loops are outermost in it).
    std::vector<int> loop_parent;
    uint32_t memo_rows = 0;             // rows used by instructions, most useful first
    bool sjis = false;
    bool backrefs = false;              // has a back-reference (to text that is not fixed)
    bool anchored = false;              // can only match at the start of the text
    bool use_first_bytes = false;       // a match must begin with a byte of first_bytes
    bool first_bytes_are_boundaries = true;  // no byte of the set can be a trail byte
    std::array<bool, 256> first_bytes{};
    bool use_pair_filter = false;       // ... and a second byte of second_bytes[first]
    std::array<ByteSet, 256> second_bytes{};
    LiteralSearch required;             // bytes every match contains (empty: none known)
    // The last literal of the pattern that every match contains (a region's
    // closing marker): no match begins after its last occurrence.
    LiteralSearch required_last;
    // A literal that every match contains right after a prefix which can
    // only consume bytes of prefix_bytes: a match can only begin in the run of
    // such bytes that ends at an occurrence of the literal.
    LiteralSearch anchor;
    bool anchor_prefix_empty = false;
    ByteSet prefix_bytes;
};

}  // namespace bregexp

#endif
