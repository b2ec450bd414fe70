// The backtracking matcher. All backtracking state lives in a heap stack,
// so the depth of the C++ call stack never grows with the text. Failures are
// remembered in a memo table (see memo_plan.h), which keeps programs without
// back-references linear in the text; a step budget turns what remains
// runaway (back-references) into an error, and a stack limit bounds memory.
#ifndef BREGEXP_MATCHER_H
#define BREGEXP_MATCHER_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "memo_table.h"
#include "program.h"

namespace bregexp {

constexpr size_t kNoPosition = static_cast<size_t>(-1);

// Work allowed for one call. Every charged step costs constant time, so the
// budget bounds the time of a call: with back-references about a second per
// megabyte of text plus a second. A memoised program cannot run away; its
// larger budget, grown with its memo rows, is only a safety net.
struct Limits {
    uint64_t steps;
    size_t stack_bytes;
    static Limits for_text(const Program &program, size_t size);
};

extern const char *const kTooComplexMessage;
// A search that would keep more backtracking state than the stack limit.
extern const char *const kTooMuchMemoryMessage;

class Matcher {
public:
    Matcher(const Program &program, const char *text, size_t size, const Limits &limits);

    // Leftmost match beginning at or after `from` (a character boundary). An
    // empty match beginning at forbid_empty_at is not accepted (used by
    // global substitution, as Perl does). On success `captures` holds
    // 2 * (group_count + 1) offsets, kNoPosition for a group that did not take part.
    bool search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures);

    uint64_t steps_used() const { return steps_; }

private:
    struct Frame {
        uint32_t kind;
        uint32_t pc;
        size_t pos;
        size_t aux;
        size_t start;
    };
    using Stack = std::vector<Frame>;

    bool run(uint32_t pc, size_t pos, Stack &stack, int depth);
    bool backtrack(Stack &stack, size_t base, uint32_t &pc, size_t &pos);
    bool lookahead(const Instruction &in, uint32_t &pc, size_t pos, Stack &stack, int depth);

    // Repeats of one character (matcher_repeat.cpp).
    bool start_repeat(const Instruction &in, uint32_t &pc, size_t &pos, Stack &stack);
    bool backtrack_greedy(Stack &stack, uint32_t &pc, size_t &pos);
    bool backtrack_lazy(Stack &stack, uint32_t &pc, size_t &pos);
    size_t consume_greedy(const Instruction &in, size_t pos, size_t floor, bool &capped);
    size_t consume_dot_run(const Instruction &in, size_t pos, size_t end, size_t floor, bool &capped);
    bool lazy_jump_to_hint(const Instruction &in, Frame &f, size_t floor, size_t &next);
    bool lazy_step(const Instruction &in, Frame &f, size_t floor, size_t &next, size_t &last);

    // The memo: whether an instruction's row can be used at pos, and the
    // lowest position of a repeat's row that may be marked.
    bool memo_usable(const Instruction &in, size_t pos) const;
    size_t repeat_floor(const Instruction &in, size_t min_end) const;
    bool enter_memo_state(const Instruction &in, size_t pos, Stack &stack, int depth);
    void mark_failed(const Instruction &in, size_t from, size_t to);
    void note_backtrack();

    size_t width(size_t pos) const;
    size_t char_before(size_t lower, size_t pos);
    size_t item_width(Op item, uint32_t a, size_t pos) const;
    size_t backref_width(const Instruction &in, size_t pos);
    bool assertion_holds(AssertKind kind, size_t pos);
    bool word_before(size_t pos);
    size_t next_candidate(size_t pos, size_t limit);
    bool required_text_follows(size_t from);
    bool literal_follows(const LiteralSearch &literal, size_t &found_at, size_t from);
    size_t earliest_start(size_t from, size_t &window_end);

    void push(Stack &stack, const Frame &frame);
    void save_register(Stack &stack, size_t reg);
    void set_register(Stack &stack, size_t reg, size_t value);
    void set_group(Stack &stack, size_t group, size_t start, size_t end);
    void charge(uint64_t steps);

    size_t open_register(uint32_t group) const { return capture_slots_ + group; }
    size_t loop_register(uint32_t index) const { return capture_slots_ + group_slots_ + index; }

    const Program &program_;
    const unsigned char *text_;
    size_t size_;
    bool sjis_;
    uint64_t step_limit_;
    size_t frame_limit_;
    uint64_t steps_ = 0;
    size_t capture_slots_;
    size_t group_slots_;
    std::vector<size_t> registers_;
    Stack stack_;
    std::deque<Stack> lookahead_stacks_;  // a deque keeps outer levels in place while inner ones are added
    std::deque<std::vector<size_t>> saved_registers_;  // registers before each level's lookahead
    MemoTable memo_;
    uint64_t memo_after_steps_;               // work done before the memo is allocated
    size_t start_ = 0;
    size_t end_ = 0;
    size_t forbid_empty_at_ = kNoPosition;
    size_t required_found_at_ = kNoPosition;  // last place the required text was seen
    size_t required_last_found_at_ = kNoPosition;
    size_t run_cache_start_ = 0;              // a maximal run of lead-range bytes seen last
    size_t run_cache_end_ = kNoPosition;
    size_t anchor_at_ = kNoPosition;          // last occurrence of the anchor literal found
    size_t anchor_window_ = kNoPosition;      // where the prefix run before it begins
};

// Scanning runs of bytes is cheap; it is charged per this many bytes.
constexpr size_t kBytesPerStep = 32;

enum FrameKind : uint32_t { kBranch, kRestore, kRestorePair, kGreedy, kLazy, kMemoFail };

}  // namespace bregexp

#endif
