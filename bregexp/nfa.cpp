#include "nfa.h"

#include <algorithm>

#include "bregexp_error.h"
#include "sjis.h"

namespace bregexp {

namespace {

bool consumes_one(Op op) {
    switch (op) {
    case Op::literal:
    case Op::literal_fold:
    case Op::any:
    case Op::any_all:
    case Op::char_class:
    case Op::any_unless:
    case Op::any_all_unless: return true;
    default: return false;
    }
}

uint16_t loop_depth(const Program &program, int loop) {
    uint16_t depth = 0;
    for (; loop >= 0; loop = program.loop_parent[static_cast<size_t>(loop)]) ++depth;
    return depth;
}

// Calls visit(code, width) for each character of a compiled string.
template <typename Visit>
void for_each_char(const std::string &text, bool sjis, Visit visit) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    for (size_t i = 0; i < text.size();) {
        const size_t width = char_width(bytes, i, text.size(), sjis);
        visit(char_code(bytes, i, width));
        i += width;
    }
}

size_t chars_in(const std::string &text, bool sjis) {
    size_t count = 0;
    for_each_char(text, sjis, [&](uint32_t) { ++count; });
    return count;
}

// Instructions one program instruction becomes.
size_t lowered_size(const Program &program, const Instruction &in) {
    switch (in.op) {
    case Op::string:
    case Op::string_fold: return chars_in(program.strings[in.a], program.sjis);
    case Op::repeat: {
        const size_t unit = in.group >= 0 ? 3 : 1;
        const size_t fixed = size_t(in.min) * unit;
        return fixed + (in.max == kUnbounded ? unit + 2 : size_t(in.max - in.min) * (unit + 1));
    }
    default: return 1;
    }
}

class Lowering {
public:
    explicit Lowering(const Program &program) : program_(program), code_(program.code) {}

    Nfa run() {
        start_.resize(code_.size() + 1);
        uint32_t at = 0;
        for (size_t pc = 0; pc < code_.size(); ++pc) {
            start_[pc] = at;
            at += static_cast<uint32_t>(lowered_size(program_, code_[pc]));
        }
        start_[code_.size()] = at;
        nfa_.code.reserve(at);
        nfa_.slots = 2 * (static_cast<size_t>(program_.group_count) + 1);
        for (size_t pc = 0; pc < code_.size(); ++pc) lower(pc);
        number_states();
        defer_lookahead_groups();
        return std::move(nfa_);
    }

private:
    void emit(NfaOp op, uint32_t a = 0, uint32_t b = 0) {
        NfaInst inst;
        inst.op = op;
        inst.a = a;
        inst.b = b;
        inst.depth = depth_;
        nfa_.code.push_back(inst);
    }

    void emit_item(Op item, uint32_t a) {
        emit(NfaOp::item, a);
        nfa_.code.back().item = item;
    }

    uint32_t here() const { return static_cast<uint32_t>(nfa_.code.size()); }

    void lower(size_t pc) {
        const Instruction &in = code_[pc];
        depth_ = loop_depth(program_, in.loop);
        if (consumes_one(in.op)) {
            emit_item(in.op, in.a);
            return;
        }
        switch (in.op) {
        case Op::string:
        case Op::string_fold: lower_string(in); break;
        case Op::repeat: lower_repeat(in); break;
        case Op::split: emit(NfaOp::split, start_[in.a], start_[in.b]); break;
        case Op::jump: emit(NfaOp::jump, start_[in.a]); break;
        case Op::open: emit(NfaOp::save, 2 * in.a); break;
        case Op::close: emit(NfaOp::save, 2 * in.a + 1); break;
        case Op::unset: emit(NfaOp::unset, 2 * in.a); break;
        case Op::loop_mark: emit(NfaOp::loop_mark); break;
        case Op::loop_check: emit(NfaOp::loop_check, 0, start_[in.b]); break;
        case Op::assertion:
            emit(NfaOp::assertion);
            nfa_.code.back().assertion = in.assertion;
            break;
        case Op::lookahead: lower_lookahead(pc); break;
        case Op::lookahead_end:
        case Op::match: emit(NfaOp::accept); break;
        default: throw Error("internal error: back-reference in an automaton program");
        }
    }

    void lower_string(const Instruction &in) {
        const bool fold = in.op == Op::string_fold;
        for_each_char(program_.strings[in.a], program_.sjis, [&](uint32_t code) {
            const bool letter = (code | 0x20u) >= 'a' && (code | 0x20u) <= 'z';
            if (fold && letter)
                emit_item(Op::literal_fold, code | 0x20u);
            else
                emit_item(Op::literal, code);
        });
    }

    // One copy of the repeated character, with its group around it.
    void emit_unit(const Instruction &in) {
        if (in.group >= 0) emit(NfaOp::save, 2 * static_cast<uint32_t>(in.group));
        emit_item(in.item, in.a);
        if (in.group >= 0) emit(NfaOp::save, 2 * static_cast<uint32_t>(in.group) + 1);
    }

    void emit_choice(uint32_t body, uint32_t skip, bool greedy) {
        emit(NfaOp::split, greedy ? body : skip, greedy ? skip : body);
    }

    void lower_repeat(const Instruction &in) {
        const uint32_t unit = in.group >= 0 ? 3 : 1;
        for (uint32_t i = 0; i < in.min; ++i) emit_unit(in);
        if (in.max == kUnbounded) {
            const uint32_t loop = here();
            emit_choice(loop + 1, loop + unit + 2, in.greedy);
            emit_unit(in);
            emit(NfaOp::jump, loop);
            return;
        }
        const uint32_t end = here() + (in.max - in.min) * (unit + 1);
        for (uint32_t i = in.min; i < in.max; ++i) {
            emit_choice(here() + 1, end, in.greedy);
            emit_unit(in);
        }
    }

    void lower_lookahead(size_t pc) {
        const Instruction &in = code_[pc];
        NfaLookahead look;
        look.negative = in.negative;
        look.body = start_[pc + 1];
        look.end = start_[in.b - 1];
        const Instruction &body = code_[pc + 1];
        if (code_[pc + 2].op == Op::lookahead_end &&
            (consumes_one(body.op) || body.op == Op::string || body.op == Op::string_fold) &&
            body.op != Op::any_unless && body.op != Op::any_all_unless) {
            look.simple = true;
            look.simple_op = body.op;
            look.simple_a = body.a;
        }
        uint32_t low = UINT32_MAX, high = 0;
        for (size_t inner = pc + 1; inner < in.b; ++inner) {
            const Instruction &member = code_[inner];
            uint32_t group = 0;
            if (member.op == Op::open)
                group = member.a;
            else if (member.op == Op::repeat && member.group >= 0)
                group = static_cast<uint32_t>(member.group);
            else
                continue;
            low = std::min(low, group);
            high = std::max(high, group);
        }
        if (low != UINT32_MAX) {
            look.slot_begin = 2 * low;
            look.slot_end = 2 * high + 2;
        }
        emit(NfaOp::lookahead, static_cast<uint32_t>(nfa_.lookaheads.size()), start_[in.b]);
        nfa_.lookaheads.push_back(look);
    }

    // Whether every way through the lookahead's body writes all the slots
    // of its groups (a forward data flow: slots written on all paths).
    bool writes_all_slots(const NfaLookahead &look) const {
        const uint32_t width = look.slot_end - look.slot_begin;
        if (width == 0 || width > 64) return false;
        const uint64_t all = width == 64 ? ~uint64_t(0) : (uint64_t(1) << width) - 1;
        std::vector<uint64_t> in(look.end - look.body + 1, all);
        std::vector<char> reached(in.size(), 0);
        std::vector<uint32_t> work{look.body};
        in[0] = 0;
        reached[0] = 1;
        auto bit = [&](uint32_t slot) { return slot >= look.slot_begin && slot < look.slot_end ? uint64_t(1) << (slot - look.slot_begin) : 0; };
        while (!work.empty()) {
            const uint32_t pc = work.back();
            work.pop_back();
            const NfaInst &inst = nfa_.code[pc];
            if (inst.op == NfaOp::lookahead && nfa_.lookaheads[inst.a].slot_begin < nfa_.lookaheads[inst.a].slot_end)
                return false;  // groups of a lookahead inside: kept simple
            uint64_t out = in[pc - look.body];
            if (inst.op == NfaOp::save) out |= bit(inst.a);
            if (inst.op == NfaOp::unset) out |= bit(inst.a) | bit(inst.a + 1);
            for_each_successor(nfa_, pc, [&](uint32_t next) {
                const uint32_t at = next - look.body;
                const uint64_t merged = reached[at] ? (in[at] & out) : out;
                if (reached[at] && merged == in[at]) return;
                in[at] = merged;
                reached[at] = 1;
                work.push_back(next);
            });
        }
        return in[look.end - look.body] == all;
    }

    void defer_lookahead_groups() {
        nfa_.thread_slots = nfa_.slots;
        uint32_t outer_end = 0;  // lookaheads are lowered in order: inner ones lie inside outer bodies
        for (NfaLookahead &look : nfa_.lookaheads) {
            const bool nested = look.body < outer_end;
            outer_end = std::max(outer_end, look.end);
            if (nested || look.negative || look.simple || !writes_all_slots(look)) continue;
            look.deferred_slot = static_cast<uint32_t>(nfa_.thread_slots++);
        }
    }

    // Items and accepts do not depend on d: one state each.
    void number_states() {
        nfa_.state_base.resize(nfa_.code.size());
        uint32_t next = 0;
        for (size_t pc = 0; pc < nfa_.code.size(); ++pc) {
            NfaInst &inst = nfa_.code[pc];
            if (inst.op == NfaOp::item || inst.op == NfaOp::accept) inst.depth = 0;
            nfa_.state_base[pc] = next;
            next += inst.depth + 1u;
        }
        nfa_.state_count = next;
    }

    const Program &program_;
    const std::vector<Instruction> &code_;
    std::vector<uint32_t> start_;  // program pc -> first lowered instruction
    uint16_t depth_ = 0;
    Nfa nfa_;
};

}  // namespace

size_t nfa_size(const Program &program) {
    size_t instructions = 0;
    size_t states = 0;
    std::vector<uint32_t> lookahead_ends;  // of the lookaheads around pc
    for (size_t pc = 0; pc < program.code.size() && std::max(instructions, states) <= kMaxNfaSize; ++pc) {
        const Instruction &in = program.code[pc];
        while (!lookahead_ends.empty() && pc >= lookahead_ends.back()) lookahead_ends.pop_back();
        const size_t size = in.op == Op::backref ? 1 : lowered_size(program, in);
        const size_t copies = lookahead_ends.size() + 1;
        instructions += size * copies;
        states += size * copies * (static_cast<size_t>(loop_depth(program, in.loop)) + 1);
        if (in.op == Op::lookahead) lookahead_ends.push_back(in.b);
    }
    return std::max(instructions, states);
}

Nfa lower_to_nfa(const Program &program) { return Lowering(program).run(); }

}  // namespace bregexp
