// The backtracking engine. All backtracking state lives in a heap stack,
// so the depth of the C++ call stack never grows with the text. It serves
// in two ways (chosen by engine_choice.h):
//
// - Bounded, for a program without back-references: failed states are
//   remembered in a memo table (see memo_plan.h), the visited set that makes
//   every remembered state run at most once, so the work is linear in the
//   text. It runs only while that table, its stack and its steps stay within
//   limits proportional to the text and the program; past any of them it
//   gives up (SearchGaveUp) and the Pike VM answers instead.
// - With a budget, for a program with back-references, whose outcome depends
//   on what groups hold, so nothing can be remembered: a step budget of about
//   a second per megabyte of text plus a second turns what runs away into the
//   error "pattern too complex for this text", and a stack limit into
//   "pattern needs too much memory for this text".
#ifndef BREGEXP_BACKTRACKER_H
#define BREGEXP_BACKTRACKER_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "memo_table.h"
#include "program.h"
#include "start_positions.h"
#include "subject.h"
#include "work_meter.h"

namespace bregexp {

// A search that would keep more backtracking state than the stack limit.
extern const char *const kTooMuchMemoryMessage;

struct BacktrackLimits {
    uint64_t steps;
    size_t stack_bytes;
    WorkMeter::AtLimit at_limit;
    // Back-references: the fixed budget, independent of the program's shape.
    static BacktrackLimits with_budget(size_t size);
    // No back-references: limits that linear work never reaches.
    static BacktrackLimits bounded(const Program &program, size_t size);
    // Whether the bounded engine's memo table for this text fits its cap.
    static bool memo_fits(const Program &program, size_t size);
};

class Backtracker {
public:
    Backtracker(const Program &program, Subject &subject, const BacktrackLimits &limits);

    // Leftmost match beginning at or after `from` (a character boundary). An
    // empty match beginning at forbid_empty_at is not accepted (used by
    // global substitution, as Perl does). On success `captures` holds
    // 2 * (group_count + 1) offsets, kNoPosition for a group that did not take part.
    bool search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures);

    uint64_t steps_used() const { return meter_.used(); }

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

    // Repeats of one character (backtracker_repeat.cpp).
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
    bool loop_memo(const Instruction &in) const;
    void mark_failed(const Instruction &in, size_t from, size_t to);
    void note_backtrack();

    size_t width(size_t pos) const { return subject_.width(pos); }
    size_t char_before(size_t lower, size_t pos);
    size_t item_width(Op item, uint32_t a, size_t pos) const { return subject_.item_width(item, a, pos); }
    size_t backref_width(const Instruction &in, size_t pos);
    bool assertion_holds(AssertKind kind, size_t pos);

    void push(Stack &stack, const Frame &frame);
    void save_register(Stack &stack, size_t reg);
    void set_register(Stack &stack, size_t reg, size_t value);
    void set_group(Stack &stack, size_t group, size_t start, size_t end);
    void charge(uint64_t steps) { meter_.add(steps); }

    size_t open_register(uint32_t group) const { return capture_slots_ + group; }
    size_t loop_register(uint32_t index) const { return capture_slots_ + group_slots_ + index; }

    const Program &program_;
    Subject &subject_;
    const unsigned char *text_;
    size_t size_;
    bool sjis_;
    WorkMeter meter_;
    StartPositions starts_;
    size_t frame_limit_;
    size_t outer_frames_ = 0;  // frames held by the levels around the current lookahead
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
};

enum FrameKind : uint32_t { kBranch, kRestore, kRestorePair, kGreedy, kLazy, kMemoFail };

}  // namespace bregexp

#endif
