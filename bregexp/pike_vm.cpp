#include "pike_vm.h"

#include <algorithm>

#include "lookahead_oracle.h"
#include "start_positions.h"

namespace bregexp {

namespace {

constexpr uint32_t kRestoreSlot = UINT32_MAX;

}  // namespace

PikeVm::PikeVm(const Nfa &nfa, Subject &subject, LookaheadOracle &oracle, uint32_t first, uint32_t last,
               size_t slot_bytes, size_t slots_from, size_t slots_to)
    : nfa_(nfa), subject_(subject), oracle_(oracle), state_offset_(nfa.state_base[first]),
      slot_bytes_(slot_bytes), scratch_base_(slots_from) {
    uint32_t threads = 0;
    for (uint32_t pc = first; pc <= last; ++pc) {
        const NfaOp op = nfa.code[pc].op;
        threads += op == NfaOp::item || op == NfaOp::accept;
    }
    max_threads_ = threads;
    seen_.assign(nfa.state_base[last] + nfa.code[last].depth + 1u - state_offset_, 0);
    current_.pcs.resize(threads);
    next_.pcs.resize(threads);
    scratch_.assign(slots_to - slots_from, kNoPosition);
}

size_t PikeVm::slots_per_batch() const {
    return std::max<size_t>(2, slot_bytes_ / (2 * sizeof(size_t) * std::max<size_t>(max_threads_, 1)));
}

uint32_t PikeVm::state(uint32_t pc, uint32_t d) const {
    return nfa_.state_base[pc] - state_offset_ + std::min<uint32_t>(d, nfa_.code[pc].depth);
}

void PikeVm::next_generation() {
    if (++generation_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        generation_ = 1;
    }
}

void PikeVm::prepare(const Run &request) {
    exists_only_ = request.exists_only;
    accepted_ = false;
    slot_begin_ = exists_only_ ? scratch_base_ : request.slot_begin;
    slot_end_ = exists_only_ ? scratch_base_ : request.slot_end;
    width_ = slot_end_ - slot_begin_;
    current_.slots.resize(size_t(max_threads_) * width_);
    next_.slots.resize(size_t(max_threads_) * width_);
    current_.count = 0;
    next_.count = 0;
}

void PikeVm::add_thread(uint32_t pc, List &list) {
    list.pcs[list.count] = pc;
    std::copy(scratch_.begin() + static_cast<long>(slot_begin_ - scratch_base_),
              scratch_.begin() + static_cast<long>(slot_end_ - scratch_base_), list.slots.begin() + static_cast<long>(list.count * width_));
    ++list.count;
}

void PikeVm::set_slot(uint32_t slot, size_t value) {
    if (slot < slot_begin_ || slot >= slot_end_) return;
    stack_.push_back(Frame{kRestoreSlot, slot, scratch_[slot - scratch_base_]});
    scratch_[slot - scratch_base_] = value;
}

void PikeVm::apply_lookahead_groups(uint32_t index, size_t pos) {
    const NfaLookahead &look = nfa_.lookaheads[index];
    if (look.slot_end <= slot_begin_ || look.slot_begin >= slot_end_) return;
    const std::vector<size_t> &values = oracle_.captures(index, pos);
    for (uint32_t slot = look.slot_begin; slot < look.slot_end; ++slot) {
        const size_t value = values[slot - look.slot_begin];
        if (value != kUntouched) set_slot(slot, value);
    }
}

bool PikeVm::follow(uint32_t &pc, uint32_t &d, size_t pos, List &list) {
    const NfaInst &in = nfa_.code[pc];
    uint32_t &mark = seen_[state(pc, d)];
    if (mark == generation_) return false;
    mark = generation_;
    ++steps_;
    switch (in.op) {
    case NfaOp::item: add_thread(pc, list); return false;
    case NfaOp::accept:
        if (exists_only_)
            accepted_ = true;
        else
            add_thread(pc, list);
        return false;
    case NfaOp::split:
        stack_.push_back(Frame{in.b, std::min<uint32_t>(d, nfa_.code[in.b].depth), 0});
        pc = in.a;
        break;
    case NfaOp::jump: pc = in.a; break;
    case NfaOp::save:
        set_slot(in.a, pos);
        ++pc;
        break;
    case NfaOp::unset:
        set_slot(in.a, kNoPosition);
        set_slot(in.a + 1, kNoPosition);
        ++pc;
        break;
    case NfaOp::loop_mark:
        ++d;
        ++pc;
        break;
    case NfaOp::loop_check:
        // An iteration that began here matched nothing: the loop ends.
        if (d > 0) {
            --d;
            ++pc;
        } else {
            pc = in.b;
        }
        break;
    case NfaOp::assertion: {
        size_t scanned = 0;
        if (!subject_.assertion_holds(in.assertion, pos, scanned)) return false;
        ++pc;
        break;
    }
    case NfaOp::lookahead: {
        const NfaLookahead &look = nfa_.lookaheads[in.a];
        if (oracle_.holds(in.a, pos) == look.negative) return false;
        if (!look.negative && !exists_only_) {
            if (look.deferred_slot != NfaLookahead::kNotDeferred)
                set_slot(look.deferred_slot, pos);
            else if (look.slot_begin < look.slot_end)
                apply_lookahead_groups(in.a, pos);
        }
        pc = in.b;
        break;
    }
    }
    d = std::min<uint32_t>(d, nfa_.code[pc].depth);
    return true;
}

void PikeVm::closure(uint32_t pc, size_t pos, List &list) {
    stack_.clear();
    stack_.push_back(Frame{pc, 0, 0});
    while (!stack_.empty()) {
        const Frame frame = stack_.back();
        stack_.pop_back();
        if (frame.pc == kRestoreSlot) {
            scratch_[frame.value - scratch_base_] = frame.saved;
            continue;
        }
        uint32_t at = frame.pc;
        uint32_t d = frame.value;
        while (follow(at, d, pos, list)) {
        }
        if (accepted_) return;
    }
}

bool PikeVm::run(const Run &request, std::vector<size_t> &slots, size_t &start, size_t &end) {
    prepare(request);
    const size_t size = subject_.size();
    size_t next_start = request.starts ? request.starts->next(request.from) : request.from;
    if (next_start == kNoPosition) return false;
    size_t pos = next_start;
    bool matched = false;
    next_generation();
    for (;;) {
        if (!matched && pos == next_start) {
            // A thread beginning here has the lowest priority.
            std::fill(scratch_.begin() + static_cast<long>(slot_begin_ - scratch_base_),
                      scratch_.begin() + static_cast<long>(slot_end_ - scratch_base_), request.initial);
            if (slot_begin_ == 0 && slot_end_ > 0) scratch_[0] = pos;
            closure(request.entry, pos, current_);
            if (accepted_) return true;
            next_start = request.starts && pos < size ? request.starts->next(pos + subject_.width(pos)) : kNoPosition;
        }
        if (current_.count == 0) {
            if (matched || next_start == kNoPosition) break;
            pos = next_start;
            next_generation();
            continue;
        }
        next_.count = 0;
        next_generation();
        const size_t w = pos < size ? subject_.width(pos) : 0;
        for (size_t i = 0; i < current_.count; ++i) {
            const NfaInst &in = nfa_.code[current_.pcs[i]];
            const size_t *row = current_.slots.data() + i * width_;
            if (in.op == NfaOp::accept) {
                const size_t thread_start = slot_begin_ == 0 && width_ > 0 ? row[0] : request.from;
                if (pos == request.forbid_empty_at && thread_start == pos) continue;
                // Threads after this one have lower priority: they are dropped.
                slots.assign(row, row + width_);
                start = thread_start;
                end = pos;
                matched = true;
                break;
            }
            if (w == 0 || subject_.item_width(in.item, in.a, pos) == 0) continue;
            std::copy(row, row + width_, scratch_.begin() + static_cast<long>(slot_begin_ - scratch_base_));
            closure(current_.pcs[i] + 1, pos + w, next_);
            if (accepted_) return true;
        }
        std::swap(current_, next_);
        pos += w;
    }
    return matched;
}

bool run_in_batches(PikeVm &vm, PikeVm::Run request, std::vector<size_t> &slots, size_t &start, size_t &end) {
    const size_t first = request.slot_begin;
    const size_t last = request.slot_end;
    const size_t batch = vm.slots_per_batch();
    std::vector<size_t> part;
    request.slot_end = std::min(last, first + batch);
    if (!vm.run(request, part, start, end)) return false;
    slots = part;
    // Later passes begin where the match begins, at that place only.
    request.from = start;
    request.starts = nullptr;
    for (size_t lo = request.slot_end; lo < last; lo += batch) {
        request.slot_begin = lo;
        request.slot_end = std::min(last, lo + batch);
        size_t again_start = 0, again_end = 0;
        vm.run(request, part, again_start, again_end);
        slots.insert(slots.end(), part.begin(), part.end());
    }
    return true;
}

}  // namespace bregexp
