#include "backtracker.h"

#include <algorithm>
#include <cstring>

#include "bregexp_error.h"

namespace bregexp {

const char *const kTooComplexMessage = "pattern too complex for this text";
const char *const kTooMuchMemoryMessage = "pattern needs too much memory for this text";

namespace {

// Ordinary searches, even over a whole large text, stay well below this
// much work before they backtrack heavily; runaway backtracking passes it
// quickly. A table of a few kilobytes costs next to nothing, so small texts
// get it at once.
uint64_t memo_threshold(const Program &program, size_t size) {
    return uint64_t(program.memo_rows) * (size + 2) <= 65536 ? 0 : 1000000 + size / 2;
}

}  // namespace

// About a second per megabyte of text plus a second on an ordinary machine,
// whatever the pattern: every step costs constant time.
BacktrackLimits BacktrackLimits::with_budget(size_t size) {
    const uint64_t bytes = size;
    return {10000000u + 96u * bytes, (size_t(128) << 20) + std::min<size_t>(size, SIZE_MAX / 32) * 16,
            WorkMeter::AtLimit::fail};
}

// With its memo a search enters each remembered state once and every other
// state once per entry of the remembered one before it: steps stay below a
// few per instruction and text position. More means the memo could not be
// used (a table cut short, lookaheads that succeed again and again), and the
// Pike VM does better. Its stack (at most twice its limit while it grows)
// and its memo table stay within 48 MB plus three bytes per text byte.
BacktrackLimits BacktrackLimits::bounded(const Program &program, size_t size) {
    const uint64_t positions = uint64_t(size) + 1;
    const uint64_t steps = 4 * (uint64_t(program.code.size()) + 1) * positions + memo_threshold(program, size) + 1000000;
    return {steps, (size_t(16) << 20) + size / 2, WorkMeter::AtLimit::give_up};
}

bool BacktrackLimits::memo_fits(const Program &program, size_t size) {
    return MemoTable::fits(program.memo_rows, size + 2);
}

Backtracker::Backtracker(const Program &program, Subject &subject, const BacktrackLimits &limits)
    : program_(program),
      subject_(subject),
      text_(subject.bytes()),
      size_(subject.size()),
      sjis_(program.sjis),
      meter_(limits.steps, limits.at_limit),
      starts_(program, subject, meter_),
      frame_limit_(std::max<size_t>(limits.stack_bytes / sizeof(Frame), 1024)),
      capture_slots_(2 * (static_cast<size_t>(program.group_count) + 1)),
      group_slots_(static_cast<size_t>(program.group_count) + 1),
      memo_after_steps_(memo_threshold(program, subject.size())) {}

void Backtracker::push(Stack &stack, const Frame &frame) {
    if (stack.size() == stack.capacity()) {
        if (stack.size() + outer_frames_ >= frame_limit_) {
            if (meter_.gives_up()) throw SearchGaveUp();
            throw Error(kTooMuchMemoryMessage);
        }
        // Grown by hand so that the stack never holds room beyond its limit.
        stack.reserve(std::min(std::max<size_t>(stack.capacity() * 2, 256), frame_limit_ - outer_frames_));
    }
    stack.push_back(frame);
}

void Backtracker::save_register(Stack &stack, size_t reg) {
    push(stack, Frame{kRestore, static_cast<uint32_t>(reg), registers_[reg], 0, 0});
}

void Backtracker::set_register(Stack &stack, size_t reg, size_t value) {
    if (registers_[reg] == value) return;
    save_register(stack, reg);
    registers_[reg] = value;
}

// One frame restores both ends of a group: the common case of a capture
// inside a loop then costs two frames per iteration instead of three.
void Backtracker::set_group(Stack &stack, size_t group, size_t start, size_t end) {
    const size_t slot = 2 * group;
    if (registers_[slot] == start && registers_[slot + 1] == end) return;
    push(stack, Frame{kRestorePair, static_cast<uint32_t>(slot), registers_[slot], registers_[slot + 1], 0});
    registers_[slot] = start;
    registers_[slot + 1] = end;
}

size_t Backtracker::char_before(size_t lower, size_t pos) {
    size_t scanned = 0;
    const size_t start = subject_.char_before(lower, pos, scanned);
    charge(scanned / kBytesPerStep);
    return start;
}

bool Backtracker::assertion_holds(AssertKind kind, size_t pos) {
    size_t scanned = 0;
    const bool holds = subject_.assertion_holds(kind, pos, scanned);
    charge(scanned / kBytesPerStep);
    return holds;
}

size_t Backtracker::backref_width(const Instruction &in, size_t pos) {
    const size_t from = registers_[2 * in.a];
    const size_t to = registers_[2 * in.a + 1];
    if (from == kNoPosition || to == kNoPosition) return kNoPosition;  // group did not take part: fail
    charge((to - from) / kBytesPerStep);
    return subject_.copy_at(from, to, in.fold, pos) ? to - from : kNoPosition;
}

void Backtracker::note_backtrack() {
    if (memo_.allocated() || program_.memo_rows == 0 || meter_.used() <= memo_after_steps_) return;
    memo_.allocate(program_.memo_rows, size_ + 2);  // + 2: marks may reach one past the end
}

bool Backtracker::memo_usable(const Instruction &in, size_t pos) const {
    if (!memo_.allocated() || !memo_.has_row(in.memo)) return false;
    return in.loop == kNoMemo || registers_[loop_register(static_cast<uint32_t>(in.loop))] != pos;
}

// In the main search a state seen again has failed the first time (success
// ends the search), so it is marked when first entered. Inside a lookahead a
// success does not end the search, so there the mark waits until the state
// has really failed.
bool Backtracker::enter_memo_state(const Instruction &in, size_t pos, Stack &stack, int depth) {
    if (memo_.test(in.memo, pos)) return false;
    if (depth == 0)
        memo_.set(in.memo, pos);
    else
        push(stack, Frame{kMemoFail, static_cast<uint32_t>(in.memo), pos, 0, 0});
    return true;
}

bool Backtracker::backtrack(Stack &stack, size_t base, uint32_t &pc, size_t &pos) {
    while (stack.size() > base) {
        Frame &f = stack.back();
        switch (f.kind) {
        case kRestore:
            registers_[f.pc] = f.pos;
            stack.pop_back();
            break;
        case kRestorePair:
            registers_[f.pc] = f.pos;
            registers_[f.pc + 1] = f.aux;
            stack.pop_back();
            break;
        case kMemoFail:
            memo_.set(static_cast<int>(f.pc), f.pos);
            stack.pop_back();
            break;
        case kBranch:
            note_backtrack();
            pc = f.pc;
            pos = f.pos;
            stack.pop_back();
            return true;
        case kGreedy:
            note_backtrack();
            if (backtrack_greedy(stack, pc, pos)) return true;
            break;
        default:
            note_backtrack();
            if (backtrack_lazy(stack, pc, pos)) return true;
            break;
        }
    }
    return false;
}

bool Backtracker::lookahead(const Instruction &in, uint32_t &pc, size_t pos, Stack &stack, int depth) {
    const Instruction &body = program_.code[pc + 1];
    if (program_.code[pc + 2].op == Op::lookahead_end && (body.op == Op::string || body.op == Op::literal)) {
        // A literal ahead (such as "-->"): compared here, nothing to save.
        const bool found = body.op == Op::string ? subject_.string_at(program_.strings[body.a], false, pos)
                                                 : item_width(body.op, body.a, pos) != 0;
        pc = in.b;
        return found != in.negative;
    }
    charge(1 + registers_.size() / 8);  // the snapshot below is real work too
    if (lookahead_stacks_.size() <= static_cast<size_t>(depth)) {
        lookahead_stacks_.resize(static_cast<size_t>(depth) + 1);
        saved_registers_.resize(static_cast<size_t>(depth) + 1);
    }
    std::vector<size_t> &saved = saved_registers_[static_cast<size_t>(depth)];
    saved = registers_;
    Stack &inner = lookahead_stacks_[static_cast<size_t>(depth)];
    inner.clear();
    outer_frames_ += stack.size();
    const bool found = run(pc + 1, pos, inner, depth + 1);
    outer_frames_ -= stack.size();
    // The limit counts the frames in use at every depth; room kept here
    // after a deep sub-search would be counted nowhere, so large room goes
    // (growing it again costs no more than the pushes that need it).
    if (inner.capacity() > 4096) Stack().swap(inner);
    else inner.clear();
    if (found == in.negative) {
        registers_ = saved;
        return false;
    }
    if (in.negative) {
        registers_ = saved;
    } else {
        // Groups set inside a positive lookahead stay set, undone when the
        // outer match backtracks past this point.
        for (size_t reg = 0; reg < registers_.size(); ++reg)
            if (registers_[reg] != saved[reg]) push(stack, Frame{kRestore, static_cast<uint32_t>(reg), saved[reg], 0, 0});
    }
    pc = in.b;
    return true;
}

bool Backtracker::run(uint32_t pc, size_t pos, Stack &stack, int depth) {
    const size_t base = stack.size();
    const auto &code = program_.code;
    for (;;) {
        charge(1);
        const Instruction &in = code[pc];
        if (in.memo != kNoMemo && !(in.op == Op::repeat && in.max == kUnbounded) && memo_usable(in, pos) &&
            !enter_memo_state(in, pos, stack, depth)) {
            if (!backtrack(stack, base, pc, pos)) return false;
            continue;
        }
        bool ok = true;
        switch (in.op) {
        case Op::literal:
        case Op::literal_fold:
        case Op::any:
        case Op::any_all:
        case Op::char_class:
        case Op::any_unless:
        case Op::any_all_unless: {  // only repeat items, never compiled alone
            const size_t w = item_width(in.op, in.a, pos);
            ok = w != 0;
            pos += w;
            ++pc;
            break;
        }
        case Op::string:
        case Op::string_fold: {
            const std::string &s = program_.strings[in.a];
            ok = subject_.string_at(s, in.op == Op::string_fold, pos);
            pos += s.size();
            ++pc;
            break;
        }
        case Op::repeat: ok = start_repeat(in, pc, pos, stack); break;
        case Op::split: {
            // A branch whose first byte is not here is not even tried.
            const int here = pos < size_ ? text_[pos] : -1;
            const bool try_a = in.hint == kNoHint || in.hint == here;
            const bool try_b = in.hint_b == kNoHint || in.hint_b == here;
            if (try_a && try_b) push(stack, Frame{kBranch, in.b, pos, 0, 0});
            pc = try_a ? in.a : in.b;
            ok = try_a || try_b;
            break;
        }
        case Op::jump: pc = in.a; break;
        case Op::open:
            set_register(stack, open_register(in.a), pos);
            ++pc;
            break;
        case Op::close:
            set_group(stack, in.a, registers_[open_register(in.a)], pos);
            ++pc;
            break;
        case Op::unset:
            set_group(stack, in.a, kNoPosition, kNoPosition);
            ++pc;
            break;
        case Op::loop_mark:
            set_register(stack, loop_register(in.a), pos);
            ++pc;
            break;
        case Op::loop_check: pc = (registers_[loop_register(in.a)] == pos) ? pc + 1 : in.b; break;
        case Op::assertion:
            ok = assertion_holds(in.assertion, pos);
            ++pc;
            break;
        case Op::backref: {
            const size_t length = backref_width(in, pos);
            ok = length != kNoPosition;
            pos += ok ? length : 0;
            ++pc;
            break;
        }
        case Op::lookahead: ok = lookahead(in, pc, pos, stack, depth); break;
        case Op::lookahead_end: return true;
        case Op::match:
            if (pos == start_ && pos == forbid_empty_at_) {
                ok = false;
                break;
            }
            end_ = pos;
            return true;
        }
        if (!ok && !backtrack(stack, base, pc, pos)) return false;
    }
}

bool Backtracker::search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures) {
    starts_.begin();
    size_t p = starts_.next(from);
    if (p == kNoPosition) return false;
    // States visited by an earlier search of this text (global substitution)
    // were not all failures: that search matched.
    if (memo_.allocated()) charge(memo_.clear() / 16);
    registers_.assign(capture_slots_ + group_slots_ + program_.loop_registers, kNoPosition);
    forbid_empty_at_ = forbid_empty_at;
    for (; p != kNoPosition; p = p < size_ ? starts_.next(p + width(p)) : kNoPosition) {
        start_ = p;
        stack_.clear();
        if (run(0, p, stack_, 0)) {
            captures.assign(capture_slots_, kNoPosition);
            captures[0] = start_;
            captures[1] = end_;
            for (size_t slot = 2; slot < capture_slots_; ++slot) captures[slot] = registers_[slot];
            stack_.clear();
            return true;
        }
    }
    stack_.clear();
    return false;
}

}  // namespace bregexp
