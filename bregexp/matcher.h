// The backtracking matcher. All backtracking state lives in a heap stack,
// so the depth of the C++ call stack never grows with the text; a step
// budget and a stack limit turn runaway patterns into an error.
#ifndef BREGEXP_MATCHER_H
#define BREGEXP_MATCHER_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "program.h"

namespace bregexp {

constexpr size_t kNoPosition = static_cast<size_t>(-1);

// Work allowed for one call: grows with the text so that ordinary patterns
// never reach it, while a pattern that backtracks exponentially stops soon.
struct Limits {
    uint64_t steps;
    size_t stack_bytes;
    static Limits for_text(size_t size);
};

extern const char *const kTooComplexMessage;

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
    bool backtrack_greedy(Stack &stack, uint32_t &pc, size_t &pos);
    bool backtrack_lazy(Stack &stack, uint32_t &pc, size_t &pos);
    bool start_repeat(const Instruction &in, uint32_t &pc, size_t &pos, Stack &stack);
    size_t consume_greedy(const Instruction &in, size_t pos, uint32_t count);
    bool lookahead(const Instruction &in, uint32_t &pc, size_t pos, Stack &stack, int depth);

    size_t width(size_t pos) const;
    size_t char_before(size_t lower, size_t pos) const;
    size_t item_width(Op item, uint32_t a, size_t pos) const;
    size_t backref_width(const Instruction &in, size_t pos) const;
    bool assertion_holds(AssertKind kind, size_t pos) const;
    bool word_before(size_t pos) const;
    size_t next_candidate(size_t pos, size_t limit);
    bool required_text_follows(size_t from);
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
    size_t start_ = 0;
    size_t end_ = 0;
    size_t forbid_empty_at_ = kNoPosition;
    size_t required_found_at_ = kNoPosition;  // last place the required text was seen
    mutable size_t run_cache_start_ = 0;       // a maximal run of lead-range bytes seen last
    mutable size_t run_cache_end_ = kNoPosition;
    size_t anchor_at_ = kNoPosition;          // last occurrence of the anchor literal found
    size_t anchor_window_ = kNoPosition;      // where the prefix run before it begins
};

}  // namespace bregexp

#endif
