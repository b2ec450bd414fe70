#include "matcher.h"

#include <algorithm>
#include <cstring>

#include "bregexp_error.h"
#include "sjis.h"

namespace bregexp {

const char *const kTooComplexMessage = "pattern too complex for this text";
const char *const kTooMuchMemoryMessage = "pattern needs too much memory for this text";

namespace {

bool is_word_byte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

}  // namespace

Limits Limits::for_text(const Program &program, size_t size) {
    Limits limits;
    const uint64_t per_byte = program.memo_rows == 0 ? 96u : 128u + 16u * uint64_t(program.memo_rows);
    limits.steps = 10000000u + per_byte * static_cast<uint64_t>(size);
    limits.stack_bytes = (size_t(128) << 20) + std::min<size_t>(size, SIZE_MAX / 32) * 16;
    return limits;
}

Matcher::Matcher(const Program &program, const char *text, size_t size, const Limits &limits)
    : program_(program),
      text_(reinterpret_cast<const unsigned char *>(text)),
      size_(size),
      sjis_(program.sjis),
      step_limit_(limits.steps),
      frame_limit_(std::max<size_t>(limits.stack_bytes / sizeof(Frame), 1024)),
      capture_slots_(2 * (static_cast<size_t>(program.group_count) + 1)),
      group_slots_(static_cast<size_t>(program.group_count) + 1),
      // Ordinary searches, even over a whole large text, stay well below
      // this much work; runaway backtracking passes it quickly. A table of a
      // few kilobytes costs next to nothing, so small texts get it at once.
      memo_after_steps_(uint64_t(program.memo_rows) * (size + 2) <= 65536 ? 0 : 1000000 + size / 2) {}

void Matcher::charge(uint64_t steps) {
    steps_ += steps;
    if (steps_ > step_limit_) throw Error(kTooComplexMessage);
}

void Matcher::push(Stack &stack, const Frame &frame) {
    if (stack.size() >= frame_limit_) throw Error(kTooMuchMemoryMessage);
    stack.push_back(frame);
}

void Matcher::save_register(Stack &stack, size_t reg) {
    push(stack, Frame{kRestore, static_cast<uint32_t>(reg), registers_[reg], 0, 0});
}

void Matcher::set_register(Stack &stack, size_t reg, size_t value) {
    if (registers_[reg] == value) return;
    save_register(stack, reg);
    registers_[reg] = value;
}

// One frame restores both ends of a group: the common case of a capture
// inside a loop then costs two frames per iteration instead of three.
void Matcher::set_group(Stack &stack, size_t group, size_t start, size_t end) {
    const size_t slot = 2 * group;
    if (registers_[slot] == start && registers_[slot + 1] == end) return;
    push(stack, Frame{kRestorePair, static_cast<uint32_t>(slot), registers_[slot], registers_[slot + 1], 0});
    registers_[slot] = start;
    registers_[slot + 1] = end;
}

// Start of the character that ends at pos (lower and pos are boundaries).
// The run of lead-range bytes in front of pos decides it; the last run found
// is remembered, so stepping back through a long run costs no rescans.
size_t Matcher::char_before(size_t lower, size_t pos) {
    const size_t last = pos - 1;
    if (!sjis_ || last == lower) return last;
    const bool last_is_lead = is_lead_byte(text_[last]);
    if (!last_is_lead && !is_trail_byte(text_[last])) return last;
    const size_t run_end = last_is_lead ? pos : last;  // lead bytes [run_start, run_end)
    size_t run_start;
    if (run_cache_end_ != kNoPosition && run_end >= run_cache_start_ && run_end <= run_cache_end_ &&
        (lower >= run_cache_start_ || run_cache_start_ == 0 || !is_lead_byte(text_[run_cache_start_ - 1]))) {
        run_start = std::max(lower, run_cache_start_);
    } else {
        run_start = run_end;
        while (run_start > lower && is_lead_byte(text_[run_start - 1])) --run_start;
        charge((run_end - run_start) / kBytesPerStep);
        run_cache_start_ = run_start;
        run_cache_end_ = run_end;
    }
    if (last_is_lead) return ((pos - run_start) % 2 == 0) ? pos - 2 : last;
    return ((last - run_start) % 2 == 1) ? last - 1 : last;
}

size_t Matcher::width(size_t pos) const { return char_width(text_, pos, size_, sjis_); }

size_t Matcher::item_width(Op item, uint32_t a, size_t pos) const {
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

bool Matcher::word_before(size_t pos) {
    if (pos == 0 || !is_word_byte(text_[pos - 1])) return false;
    return !sjis_ || char_before(0, pos) == pos - 1;
}

bool Matcher::assertion_holds(AssertKind kind, size_t pos) {
    switch (kind) {
    case AssertKind::text_start: return pos == 0;
    case AssertKind::text_end: return pos == size_;
    case AssertKind::text_end_or_newline: return pos == size_ || (pos + 1 == size_ && text_[pos] == '\n');
    case AssertKind::line_start: return pos == 0 || (pos < size_ && text_[pos - 1] == '\n');
    case AssertKind::line_end: return pos == size_ || text_[pos] == '\n';
    case AssertKind::word_boundary:
    case AssertKind::not_word_boundary: {
        const bool after = pos < size_ && is_word_byte(text_[pos]);
        return (word_before(pos) != after) == (kind == AssertKind::word_boundary);
    }
    }
    return false;
}

size_t Matcher::backref_width(const Instruction &in, size_t pos) {
    const size_t from = registers_[2 * in.a];
    const size_t to = registers_[2 * in.a + 1];
    if (from == kNoPosition || to == kNoPosition) return kNoPosition;  // group did not take part: fail
    const size_t length = to - from;
    if (size_ - pos < length) return kNoPosition;
    charge(length / kBytesPerStep);
    if (!in.fold) {
        if (std::memcmp(text_ + from, text_ + pos, length) != 0) return kNoPosition;
    } else {
        for (size_t i = 0; i < length;) {
            const size_t w = char_width(text_, from + i, to, sjis_);
            if (w == 2) {
                if (text_[from + i] != text_[pos + i] || text_[from + i + 1] != text_[pos + i + 1]) return kNoPosition;
            } else if (fold(text_[from + i]) != fold(text_[pos + i])) {
                return kNoPosition;
            }
            i += w;
        }
    }
    if (sjis_) {
        // The copy must end on a character boundary of the text here too.
        size_t p = pos;
        while (p < pos + length) p += width(p);
        if (p != pos + length) return kNoPosition;
    }
    return length;
}

void Matcher::note_backtrack() {
    if (memo_.allocated() || program_.memo_rows == 0 || steps_ <= memo_after_steps_) return;
    memo_.allocate(program_.memo_rows, size_ + 2);  // + 2: marks may reach one past the end
}

bool Matcher::memo_usable(const Instruction &in, size_t pos) const {
    if (!memo_.allocated() || !memo_.has_row(in.memo)) return false;
    return in.loop == kNoMemo || registers_[loop_register(static_cast<uint32_t>(in.loop))] != pos;
}

// In the main search a state seen again has failed the first time (success
// ends the search), so it is marked when first entered. Inside a lookahead a
// success does not end the search, so there the mark waits until the state
// has really failed.
bool Matcher::enter_memo_state(const Instruction &in, size_t pos, Stack &stack, int depth) {
    if (memo_.test(in.memo, pos)) return false;
    if (depth == 0)
        memo_.set(in.memo, pos);
    else
        push(stack, Frame{kMemoFail, static_cast<uint32_t>(in.memo), pos, 0, 0});
    return true;
}

bool Matcher::backtrack(Stack &stack, size_t base, uint32_t &pc, size_t &pos) {
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

bool Matcher::lookahead(const Instruction &in, uint32_t &pc, size_t pos, Stack &stack, int depth) {
    const Instruction &body = program_.code[pc + 1];
    if (program_.code[pc + 2].op == Op::lookahead_end && (body.op == Op::string || body.op == Op::literal)) {
        // A literal ahead (such as "-->"): compared here, nothing to save.
        bool found;
        if (body.op == Op::string) {
            const std::string &s = program_.strings[body.a];
            found = size_ - pos >= s.size() && std::memcmp(text_ + pos, s.data(), s.size()) == 0;
        } else {
            found = item_width(body.op, body.a, pos) != 0;
        }
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
    const bool found = run(pc + 1, pos, inner, depth + 1);
    inner.clear();
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

bool Matcher::run(uint32_t pc, size_t pos, Stack &stack, int depth) {
    const size_t base = stack.size();
    const auto &code = program_.code;
    for (;;) {
        if (++steps_ > step_limit_) throw Error(kTooComplexMessage);
        const Instruction &in = code[pc];
        if (in.memo != kNoMemo && in.op != Op::repeat && memo_usable(in, pos) && !enter_memo_state(in, pos, stack, depth)) {
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
        case Op::string: {
            const std::string &s = program_.strings[in.a];
            ok = size_ - pos >= s.size() && std::memcmp(text_ + pos, s.data(), s.size()) == 0;
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

size_t Matcher::next_candidate(size_t pos, size_t limit) {
    const auto &set = program_.first_bytes;
    size_t p = pos;
    const bool by_bytes = !sjis_ || program_.first_bytes_are_boundaries;
    if (program_.use_pair_filter) {
        const auto &second = program_.second_bytes;
        while (p < limit) {
            const unsigned char b = text_[p];
            if (set[b] && (p + 1 == size_ || second[b].has(text_[p + 1]))) break;
            p += by_bytes ? 1 : width(p);
        }
    } else if (by_bytes) {
        while (p < limit && !set[text_[p]]) ++p;
    } else {
        while (p < limit && !set[text_[p]]) p += width(p);
    }
    charge((p - pos) / kBytesPerStep);
    return p < limit ? p : kNoPosition;
}

// Whether the literal occurs at or after from; each occurrence found is
// kept, so that the searches of one text scan it once in all.
bool Matcher::literal_follows(const LiteralSearch &literal, size_t &found_at, size_t from) {
    if (literal.empty()) return true;
    if (found_at != kNoPosition && found_at >= from) return true;
    const size_t at = literal.find(text_, size_, from);
    charge(((at == kNoPosition ? size_ : at) - from) / kBytesPerStep);
    if (at == kNoPosition) return false;
    found_at = at;
    return true;
}

bool Matcher::required_text_follows(size_t from) {
    return literal_follows(program_.required, required_found_at_, from) &&
           literal_follows(program_.required_last, required_last_found_at_, from);
}

// The first position at or after from where a match can begin, given the
// anchor literal; window_end is the last such position before the anchor has
// to be looked for again. kNoPosition when the anchor does not occur.
size_t Matcher::earliest_start(size_t from, size_t &window_end) {
    if (anchor_at_ == kNoPosition || anchor_at_ < from) {
        anchor_at_ = program_.anchor.find(text_, size_, from);
        charge(((anchor_at_ == kNoPosition ? size_ : anchor_at_) - from) / kBytesPerStep);
        if (anchor_at_ == kNoPosition) return kNoPosition;
        anchor_window_ = anchor_at_;
        if (!program_.anchor_prefix_empty) {
            while (anchor_window_ > from && program_.prefix_bytes.has(text_[anchor_window_ - 1])) --anchor_window_;
            charge((anchor_at_ - anchor_window_) / kBytesPerStep);
        }
    }
    window_end = anchor_at_;
    return std::max(from, anchor_window_);
}

bool Matcher::search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures) {
    if (from > size_ || !required_text_follows(from)) return false;
    // States visited by an earlier search of this text (global substitution)
    // were not all failures: that search matched.
    if (memo_.allocated()) charge(memo_.clear() / 16);
    registers_.assign(capture_slots_ + group_slots_ + program_.loop_registers, kNoPosition);
    forbid_empty_at_ = forbid_empty_at;
    const bool use_anchor = !program_.anchor.empty();
    size_t window_end = kNoPosition;
    for (size_t p = from; p <= size_;) {
        if (program_.anchored && p != 0) return false;
        size_t limit = size_;
        if (use_anchor) {
            if (window_end == kNoPosition || p > window_end) {
                p = earliest_start(p, window_end);
                if (p == kNoPosition) return false;
            }
            limit = window_end + 1;
        }
        if (program_.use_first_bytes) {
            const size_t candidate = next_candidate(p, limit);
            if (candidate == kNoPosition) {
                if (!use_anchor) return false;
                p = limit;
                continue;
            }
            p = candidate;
        }
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
        if (p >= size_) break;
        p += width(p);
        if (!required_text_follows(p)) break;
    }
    stack_.clear();
    return false;
}

}  // namespace bregexp
