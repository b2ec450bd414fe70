#include "lookahead_oracle.h"

#include <algorithm>

namespace bregexp {

namespace {

// Sub-searches for one lookahead may cost this many steps per text position
// and body instruction before its table is worth building.
constexpr uint64_t kForwardStepsPerState = 2;
constexpr size_t kLookaheadSlotBytes = size_t(8) << 20;

// The answers of one lookahead for every position, from the end of the text
// backwards: A(q), the instructions of its body from which its end can be
// reached at position q, follows from A(q + 1) and A(q + 2) (a character
// is one or two bytes), in time linear in the body.
class BackwardSweep {
public:
    BackwardSweep(const Nfa &nfa, Subject &subject, LookaheadOracle &oracle, const NfaLookahead &look)
        : nfa_(nfa), subject_(subject), oracle_(oracle), look_(look), local_(look.end - look.body + 1, kNone) {
        collect_members();
        words_ = (members_.size() + 63) / 64;
        for (auto &set : sets_) set.assign(words_, 0);
    }

    // Bit q - from of bits: whether the body matches at q, for q in [from, size].
    void run(size_t from, std::vector<uint64_t> &bits) {
        const size_t size = subject_.size();
        bits.assign((size - from) / 64 + 1, 0);
        for (size_t q = size + 1; q-- > from;) {
            std::vector<uint64_t> &here = sets_[q % 3];
            std::fill(here.begin(), here.end(), 0);
            work_.clear();
            add(here, local(look_.end));
            if (q < size) {
                for (uint32_t item : items_) {
                    const NfaInst &in = nfa_.code[members_[item]];
                    const size_t w = subject_.item_width(in.item, in.a, q);
                    if (w != 0 && has(sets_[(q + w) % 3], local(members_[item] + 1))) add(here, item);
                }
            }
            while (!work_.empty()) {
                const uint32_t reached = work_.back();
                work_.pop_back();
                for (uint32_t i = reverse_begin_[reached]; i < reverse_begin_[reached + 1]; ++i) {
                    const uint32_t from_member = reverse_[i];
                    if (!has(here, from_member) && edge_holds(members_[from_member], q)) add(here, from_member);
                }
            }
            if (has(here, local(look_.body))) bits[(q - from) / 64] |= uint64_t(1) << ((q - from) % 64);
        }
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    uint32_t local(uint32_t pc) const { return local_[pc - look_.body]; }
    bool has(const std::vector<uint64_t> &set, uint32_t member) const {
        return member != kNone && ((set[member / 64] >> (member % 64)) & 1u);
    }
    void add(std::vector<uint64_t> &set, uint32_t member) {
        set[member / 64] |= uint64_t(1) << (member % 64);
        work_.push_back(member);
    }

    bool edge_holds(uint32_t pc, size_t q) {
        const NfaInst &in = nfa_.code[pc];
        if (in.op == NfaOp::assertion) {
            size_t scanned = 0;
            return subject_.assertion_holds(in.assertion, q, scanned);
        }
        if (in.op == NfaOp::lookahead) return oracle_.holds(in.a, q) != nfa_.lookaheads[in.a].negative;
        return true;
    }

    void collect_members() {
        std::vector<uint32_t> work{look_.body};
        while (!work.empty()) {
            const uint32_t pc = work.back();
            work.pop_back();
            if (local_[pc - look_.body] != kNone) continue;
            local_[pc - look_.body] = static_cast<uint32_t>(members_.size());
            members_.push_back(pc);
            for_each_successor(nfa_, pc, [&](uint32_t next) { work.push_back(next); });
        }
        std::vector<uint32_t> count(members_.size() + 1, 0);
        for (uint32_t pc : members_)
            if (nfa_.code[pc].op != NfaOp::item) for_each_successor(nfa_, pc, [&](uint32_t next) { ++count[local(next)]; });
        reverse_begin_.assign(members_.size() + 1, 0);
        for (size_t i = 0; i < members_.size(); ++i) reverse_begin_[i + 1] = reverse_begin_[i] + count[i];
        reverse_.resize(reverse_begin_.back());
        std::vector<uint32_t> fill(reverse_begin_.begin(), reverse_begin_.end() - 1);
        for (uint32_t m = 0; m < members_.size(); ++m) {
            const uint32_t pc = members_[m];
            if (nfa_.code[pc].op == NfaOp::item) {
                items_.push_back(m);
                continue;
            }
            for_each_successor(nfa_, pc, [&](uint32_t next) { reverse_[fill[local(next)]++] = m; });
        }
    }

    const Nfa &nfa_;
    Subject &subject_;
    LookaheadOracle &oracle_;
    const NfaLookahead &look_;
    std::vector<uint32_t> local_;    // body pc - body -> member, or kNone
    std::vector<uint32_t> members_;  // member -> pc
    std::vector<uint32_t> items_;    // members that consume
    std::vector<uint32_t> reverse_begin_;
    std::vector<uint32_t> reverse_;  // members with a zero-width edge to each member
    size_t words_ = 0;
    std::vector<uint64_t> sets_[3];  // A(q), A(q + 1), A(q + 2), by q % 3
    std::vector<uint32_t> work_;
};

}  // namespace

struct LookaheadOracle::Entry {
    std::unique_ptr<PikeVm> vm;
    uint64_t forward_steps = 0;
    bool no_table = false;           // the table did not fit
    std::vector<uint64_t> table;     // answers from table_from on
    size_t table_from = kNoPosition;
    size_t asked_at = kNoPosition;   // the last answer
    bool answer = false;
    size_t captures_at = kNoPosition;
    std::vector<size_t> captures;
};

LookaheadOracle::LookaheadOracle(const Nfa &nfa, Subject &subject)
    : nfa_(nfa), subject_(subject), entries_(nfa.lookaheads.size()),
      table_bytes_left_((size_t(8) << 20) + 2 * subject.size()) {}

LookaheadOracle::~LookaheadOracle() = default;

LookaheadOracle::Entry &LookaheadOracle::entry(uint32_t index) {
    if (!entries_[index]) entries_[index] = std::make_unique<Entry>();
    return *entries_[index];
}

PikeVm &LookaheadOracle::vm(Entry &e, uint32_t index) {
    const NfaLookahead &look = nfa_.lookaheads[index];
    // The lookaheads' thread lists share one slot allowance.
    const size_t slot_bytes = kLookaheadSlotBytes / nfa_.lookaheads.size();
    if (!e.vm) e.vm = std::make_unique<PikeVm>(nfa_, subject_, *this, look.body, look.end, slot_bytes, look.slot_begin,
                                               look.slot_end);
    return *e.vm;
}

bool LookaheadOracle::forward(uint32_t index, size_t pos) {
    Entry &e = entry(index);
    PikeVm &machine = vm(e, index);
    PikeVm::Run request;
    request.entry = nfa_.lookaheads[index].body;
    request.from = pos;
    request.exists_only = true;
    std::vector<size_t> slots;
    size_t start = 0, end = 0;
    const uint64_t before = machine.steps();
    const bool found = machine.run(request, slots, start, end);
    e.forward_steps += machine.steps() - before;
    return found;
}

bool LookaheadOracle::build_table(uint32_t index) {
    Entry &e = entry(index);
    if (e.no_table) return false;
    const size_t bytes = ((subject_.size() - floor_) / 64 + 1) * sizeof(uint64_t);
    if (bytes > table_bytes_left_) {
        e.no_table = true;
        return false;
    }
    table_bytes_left_ -= bytes;
    BackwardSweep(nfa_, subject_, *this, nfa_.lookaheads[index]).run(floor_, e.table);
    e.table_from = floor_;
    return true;
}

bool LookaheadOracle::holds(uint32_t index, size_t pos) {
    const NfaLookahead &look = nfa_.lookaheads[index];
    if (look.simple) {
        if (look.simple_op == Op::string || look.simple_op == Op::string_fold)
            return subject_.string_at(subject_.program().strings[look.simple_a], look.simple_op == Op::string_fold, pos);
        return subject_.item_width(look.simple_op, look.simple_a, pos) != 0;
    }
    Entry &e = entry(index);
    if (e.table_from == kNoPosition || pos < e.table_from) {
        if (e.asked_at == pos) return e.answer;
        const uint64_t body = look.end - look.body + 1;
        const uint64_t worth = kForwardStepsPerState * (uint64_t(subject_.size()) + 1) * body + 4096;
        if (e.forward_steps <= worth || pos < floor_ || !build_table(index)) {
            e.answer = forward(index, pos);
            e.asked_at = pos;
            return e.answer;
        }
    }
    const size_t bit = pos - e.table_from;
    return (e.table[bit / 64] >> (bit % 64)) & 1u;
}

const std::vector<size_t> &LookaheadOracle::captures(uint32_t index, size_t pos) {
    Entry &e = entry(index);
    if (e.captures_at == pos) return e.captures;
    const NfaLookahead &look = nfa_.lookaheads[index];
    PikeVm::Run request;
    request.entry = look.body;
    request.from = pos;
    request.slot_begin = look.slot_begin;
    request.slot_end = look.slot_end;
    request.initial = kUntouched;
    size_t start = 0, end = 0;
    if (!run_in_batches(vm(e, index), request, e.captures, start, end)) e.captures.assign(look.slot_end - look.slot_begin, kUntouched);
    e.captures_at = pos;
    return e.captures;
}

}  // namespace bregexp
