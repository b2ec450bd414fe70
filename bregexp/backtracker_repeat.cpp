// Repeats of a single character: consumed in one go, backtracked one
// position at a time without a frame per character. A repeat without an
// upper bound has a memo row meaning "the loop at this position fails":
// greedy loops mark positions as they give them back, lazy ones mark the
// whole stretch they covered once they cannot go further. Both stop at a
// marked position, so no stretch of text is scanned twice for nothing.
#include <algorithm>
#include <cstring>

#include "backtracker.h"

namespace bregexp {

namespace {

// First position in [from, to) holding a or b, or `to`. Scans in growing
// windows so that the cost follows the distance to the nearer byte.
size_t find_either(const unsigned char *text, size_t from, size_t to, unsigned char a, unsigned char b) {
    size_t window = 64;
    while (from < to) {
        const size_t end = to - from > window ? from + window : to;
        const void *hit_a = std::memchr(text + from, a, end - from);
        const size_t stop = hit_a ? static_cast<size_t>(static_cast<const unsigned char *>(hit_a) - text) : end;
        const void *hit_b = std::memchr(text + from, b, stop - from);
        if (hit_b) return static_cast<size_t>(static_cast<const unsigned char *>(hit_b) - text);
        if (hit_a) return stop;
        from = end;
        window = std::min<size_t>(window * 2, size_t(1) << 20);
    }
    return to;
}

}  // namespace

// The loop of a repeat depends on the innermost enclosing loop's register
// only at the very position that loop's iteration began.
size_t Backtracker::repeat_floor(const Instruction &in, size_t min_end) const {
    if (in.loop != kNoMemo && registers_[loop_register(static_cast<uint32_t>(in.loop))] == min_end) return min_end + 1;
    return min_end;
}

// Only a repeat without an upper bound has a row meaning "the loop at this
// position fails"; a bounded repeat's row (a join) means "this repeat,
// entered at this position, fails" and is kept by the main loop.
bool Backtracker::loop_memo(const Instruction &in) const {
    return in.max == kUnbounded && memo_.allocated() && memo_.has_row(in.memo);
}

void Backtracker::mark_failed(const Instruction &in, size_t from, size_t to) {
    if (loop_memo(in)) memo_.set_range(in.memo, from, to);
}

// A dot without Shift_JIS: the run ends at a line break (for .) or at `end`,
// found with memchr. With a memo row (floor != kNoPosition) the run is
// scanned in growing windows and stops at the first position whose loop has
// already failed; capped tells that it did.
size_t Backtracker::consume_dot_run(const Instruction &in, size_t pos, size_t end, size_t floor, bool &capped) {
    const bool memo = floor != kNoPosition;
    size_t window = memo ? 256 : SIZE_MAX;
    size_t unchecked = floor;
    for (;;) {
        const size_t chunk_end = end - pos > window ? pos + window : end;
        size_t stop = chunk_end;
        if (in.item == Op::any) {
            const void *nl = std::memchr(text_ + pos, '\n', chunk_end - pos);
            if (nl) stop = static_cast<size_t>(static_cast<const unsigned char *>(nl) - text_);
        }
        charge(1 + (stop - pos) / kBytesPerStep);
        if (memo) {
            const size_t failed = memo_.next_set(in.memo, unchecked, stop + 1);
            if (failed <= stop) {
                capped = true;
                return failed;
            }
            unchecked = stop + 1;
        }
        if (stop < chunk_end || chunk_end == end) return stop;
        pos = chunk_end;
        window = std::min<size_t>(window * 2, size_t(1) << 24);
    }
}

size_t Backtracker::consume_greedy(const Instruction &in, size_t pos, size_t floor, bool &capped) {
    const size_t room = in.max == kUnbounded ? kNoPosition : static_cast<size_t>(in.max - in.min);
    if (!sjis_ && (in.item == Op::any_all || in.item == Op::any))
        return consume_dot_run(in, pos, pos + std::min(room, size_ - pos), floor, capped);
    const bool memo = floor != kNoPosition;
    size_t scanned = 0;
    for (;;) {
        if (memo && pos >= floor && memo_.test(in.memo, pos)) {
            capped = true;
            break;
        }
        if (scanned >= room) break;
        const size_t w = item_width(in.item, in.a, pos);
        if (w == 0) break;
        pos += w;
        ++scanned;
    }
    charge(1 + scanned / 4);
    return pos;
}

bool Backtracker::start_repeat(const Instruction &in, uint32_t &pc, size_t &pos, Stack &stack) {
    size_t p = pos;
    for (uint32_t count = 0; count < in.min; ++count) {
        const size_t w = item_width(in.item, in.a, p);
        if (w == 0) return false;
        p += w;
    }
    charge(in.min / 4);
    const size_t min_end = p;
    const bool memo = loop_memo(in);
    const size_t floor = memo ? repeat_floor(in, min_end) : kNoPosition;
    // The loop at min_end failed before: nothing new can come of it.
    if (memo && floor == min_end && memo_.test(in.memo, min_end)) return false;
    bool capped = false;
    if (in.greedy) p = consume_greedy(in, p, floor, capped);
    if (in.group >= 0) {
        const size_t slot = 2 * static_cast<size_t>(in.group);
        save_register(stack, slot);
        save_register(stack, slot + 1);
        if (p > pos) {
            registers_[slot] = char_before(pos, p);
            registers_[slot + 1] = p;
        }
    }
    // The continuation cannot begin here without its first byte.
    const bool hopeless = in.hint != kNoHint && (p >= size_ || text_[p] != in.hint);
    if (in.greedy) {
        // With a memo the frame stays down to min_end, to mark it as it fails.
        if (p > min_end || memo) push(stack, Frame{kGreedy, pc, p, min_end, pos});
        // Positions from p on have failed before: give back at once.
        if (capped || hopeless) return false;
    } else if (in.max > in.min) {
        push(stack, Frame{kLazy, pc, p, in.min, min_end});
        if (hopeless) return false;
    }
    pos = p;
    ++pc;
    return true;
}

bool Backtracker::backtrack_greedy(Stack &stack, uint32_t &pc, size_t &pos) {
    Frame &f = stack.back();
    const Instruction &in = program_.code[f.pc];
    const size_t min_end = f.aux;
    const bool memo = loop_memo(in);
    const size_t floor = memo ? repeat_floor(in, min_end) : 0;
    if (f.pos == min_end) {
        mark_failed(in, floor, min_end + 1);
        stack.pop_back();
        return false;
    }
    size_t next;
    if (in.hint != kNoHint) {
        // Only a position holding the continuation's first byte can succeed.
        size_t q = f.pos;
        const unsigned char want = static_cast<unsigned char>(in.hint);
        while (q > min_end && text_[q - 1] != want) --q;
        charge(1 + (f.pos - q) / kBytesPerStep);
        if (q == min_end) {
            mark_failed(in, floor, f.pos + 1);
            stack.pop_back();
            return false;
        }
        next = q - 1;
    } else {
        next = char_before(min_end, f.pos);
        charge(1);
    }
    // Everything above next has been tried: the loop there fails.
    mark_failed(in, std::max(next + 1, floor), f.pos + 1);
    if (in.group >= 0) {
        const size_t slot = 2 * static_cast<size_t>(in.group);
        if (next > f.start) {
            registers_[slot] = char_before(f.start, next);
            registers_[slot + 1] = next;
        } else {
            // No character left: the group gets back the value it had before.
            const size_t top = stack.size() - 1;
            registers_[slot] = stack[top - 2].pos;
            registers_[slot + 1] = stack[top - 1].pos;
        }
    }
    const uint32_t resume = f.pc + 1;
    if (next == min_end && !memo)
        stack.pop_back();
    else
        f.pos = next;
    pc = resume;
    pos = next;
    return true;
}

// A dot (or any character) repeated lazily before a known first byte: jump
// straight to the next such byte. A hint byte is never a trail byte, so it
// always starts a character; a dot stops at the end of its line, where the
// continuation may still begin. False when the loop cannot go on.
bool Backtracker::lazy_jump_to_hint(const Instruction &in, Frame &f, size_t floor, size_t &next) {
    const size_t cur = f.pos;
    const bool memo = floor != kNoPosition;
    const unsigned char hint = static_cast<unsigned char>(in.hint);
    size_t found = kNoPosition;
    size_t limit = size_;  // the loop cannot get past this position
    if (in.item == Op::any) {
        if (text_[cur] == '\n') {
            limit = cur;
        } else {
            const size_t at = find_either(text_, cur + 1, size_, hint, '\n');
            if (at < size_ && text_[at] == hint)
                found = at;
            else
                limit = at;
        }
    } else if (cur + 1 < size_) {
        const void *hit = std::memchr(text_ + cur + 1, hint, size_ - cur - 1);
        if (hit) found = static_cast<size_t>(static_cast<const unsigned char *>(hit) - text_);
    }
    const size_t seen = found != kNoPosition ? found : limit;
    charge(1 + (seen - cur) / kBytesPerStep);
    if (memo) {
        const size_t failed = memo_.next_set(in.memo, cur + 1, seen + 1);
        if (failed <= seen) {
            mark_failed(in, floor, failed);
            return false;
        }
    }
    if (found == kNoPosition) {
        if (memo) mark_failed(in, floor, limit + 1);
        return false;
    }
    next = found;
    return true;
}

// One more character (and, with a hint, on to the next position holding it).
bool Backtracker::lazy_step(const Instruction &in, Frame &f, size_t floor, size_t &next, size_t &last) {
    const bool memo = floor != kNoPosition;
    const size_t cur = f.pos;
    size_t count = f.aux;
    size_t w = item_width(in.item, in.a, cur);
    if (w == 0) {
        if (memo) mark_failed(in, floor, cur + 1);
        return false;
    }
    next = cur + w;
    ++count;
    size_t scanned = 1;
    bool failed = memo && memo_.test(in.memo, next);
    if (in.hint != kNoHint && !failed) {
        const unsigned char want = static_cast<unsigned char>(in.hint);
        while (count < in.max && next < size_ && text_[next] != want) {
            w = item_width(in.item, in.a, next);
            if (w == 0) break;
            last = next;
            next += w;
            ++count;
            ++scanned;
            if (memo && memo_.test(in.memo, next)) {
                failed = true;
                break;
            }
        }
        if (!failed && (next >= size_ || (text_[next] != want && count < in.max))) {
            charge(1 + scanned / 4);
            if (memo) mark_failed(in, floor, next + 1);
            return false;
        }
    }
    charge(1 + scanned / 4);
    if (failed) {
        mark_failed(in, floor, next);
        return false;
    }
    f.aux = count;
    return true;
}

bool Backtracker::backtrack_lazy(Stack &stack, uint32_t &pc, size_t &pos) {
    Frame &f = stack.back();
    const Instruction &in = program_.code[f.pc];
    const bool memo = loop_memo(in);
    const size_t floor = memo ? repeat_floor(in, f.start) : kNoPosition;  // start: where the loop began
    if (f.aux >= in.max || f.pos >= size_) {
        if (memo) mark_failed(in, floor, f.pos + 1);
        stack.pop_back();
        return false;
    }
    const size_t cur = f.pos;
    size_t next;
    size_t last = cur;
    bool advanced;
    if (in.hint != kNoHint && in.max == kUnbounded && (in.item == Op::any_all || in.item == Op::any)) {
        advanced = lazy_jump_to_hint(in, f, floor, next);
        if (advanced && in.group >= 0) last = char_before(cur, next);
    } else {
        advanced = lazy_step(in, f, floor, next, last);
    }
    if (!advanced) {
        stack.pop_back();
        return false;
    }
    f.pos = next;
    if (in.group >= 0) {
        const size_t slot = 2 * static_cast<size_t>(in.group);
        registers_[slot] = last;
        registers_[slot + 1] = next;
    }
    pc = f.pc + 1;
    pos = next;
    return true;
}

}  // namespace bregexp
