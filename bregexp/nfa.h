// The program lowered for the automaton engines (the Pike VM and the
// lookahead tables): every instruction that consumes takes exactly one
// character, so all threads of a search step through the text together.
// Strings become one instruction per character and counted repeats of one
// character become copies; everything else keeps its meaning.
//
// Perl ends a loop whose iteration matched nothing. Which loops around an
// instruction began their iteration at the current position decides where
// its loop checks lead, so a thread's state is (instruction, d): d counts
// the innermost loops around it whose iteration began here. Only loops
// whose body can match nothing have checks; state_base numbers the states.
#ifndef BREGEXP_NFA_H
#define BREGEXP_NFA_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "program.h"

namespace bregexp {

enum class NfaOp : uint8_t {
    item,        // one character: `item` with operand a
    split,       // a first, then b
    jump,        // to a
    save,        // slot a = position
    unset,       // slots a and a + 1 = none
    loop_mark,   // a loop iteration begins here: d + 1
    loop_check,  // d > 0 (the iteration matched nothing): on with d - 1; else to b with d = 0
    assertion,   // zero-width test
    lookahead,   // lookaheads[a] must hold (or not) here; continue at b
    accept,      // end of the match, or of a lookahead's body
};

struct NfaInst {
    NfaOp op = NfaOp::accept;
    Op item = Op::any;
    AssertKind assertion = AssertKind::text_start;
    uint16_t depth = 0;  // loops with checks around it (nesting is limited)
    uint32_t a = 0;
    uint32_t b = 0;
};

struct NfaLookahead {
    bool negative = false;
    // A body of one string or one character is compared directly.
    bool simple = false;
    Op simple_op = Op::string;
    uint32_t simple_a = 0;
    uint32_t body = 0;  // first instruction of the body
    uint32_t end = 0;   // its accept
    // Slots [slot_begin, slot_end) of the groups inside (empty: none).
    uint32_t slot_begin = 0;
    uint32_t slot_end = 0;
    // For a positive lookahead outside other lookaheads whose every match
    // writes all its groups' slots: the extra slot where a thread keeps
    // the position it last passed the lookahead. Its groups are then found
    // once, for the winning thread only. kNotDeferred otherwise.
    uint32_t deferred_slot = kNotDeferred;
    static constexpr uint32_t kNotDeferred = UINT32_MAX;
};

struct Nfa {
    std::vector<NfaInst> code;
    std::vector<NfaLookahead> lookaheads;
    std::vector<uint32_t> state_base;  // first state number of each instruction
    uint32_t state_count = 0;
    size_t slots = 0;                  // 2 * (groups + 1)
    size_t thread_slots = 0;           // slots, then one per deferred lookahead
};

// Calls visit with each instruction that can follow pc when walking a
// lookahead's body or the automaton's graph, whichever way a check goes
// (only reachability counts). A nested lookahead's body is not entered: it
// is asked on its own.
template <typename Visit>
void for_each_successor(const Nfa &nfa, uint32_t pc, Visit visit) {
    const NfaInst &in = nfa.code[pc];
    switch (in.op) {
    case NfaOp::accept: return;
    case NfaOp::split: visit(in.a); visit(in.b); return;
    case NfaOp::jump: visit(in.a); return;
    case NfaOp::loop_check: visit(pc + 1); visit(in.b); return;
    case NfaOp::lookahead: visit(in.b); return;
    default: visit(pc + 1); return;
    }
}

// Instructions and states the lowered form of program will have, the
// larger of the two, an instruction inside lookaheads counted once more for
// each (their sub-searches keep tables of their own): the compiler refuses
// a program where it passes kMaxNfaSize (room for a literal of the longest
// pattern), so that the automaton engines' tables stay within a few megabytes.
size_t nfa_size(const Program &program);
constexpr size_t kMaxNfaSize = (size_t(1) << 20) + (size_t(1) << 16);

// The lowered program; program must have no back-references.
Nfa lower_to_nfa(const Program &program);

}  // namespace bregexp

#endif
