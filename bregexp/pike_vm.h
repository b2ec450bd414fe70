// The Pike VM: all threads of a search step through the text together, one
// character at a time, in priority order, each with its own capture slots.
// A thread reaching a state already taken at this position by a thread of
// higher priority is dropped: that one has the same future and wins. So
// the answer is Perl's leftmost match with Perl's priorities (greedy, lazy,
// alternatives in order), in O(text x program) time and O(program) memory,
// whatever the pattern without back-references. It is the engine that can
// always answer; lookaheads are asked of a LookaheadOracle.
#ifndef BREGEXP_PIKE_VM_H
#define BREGEXP_PIKE_VM_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "nfa.h"
#include "subject.h"

namespace bregexp {

class LookaheadOracle;
class StartPositions;

// A slot that a lookahead's body did not write (distinct from "none").
constexpr size_t kUntouched = kNoPosition - 1;

class PikeVm {
public:
    // A VM for the instructions from `first` to `last` (inclusive): the whole
    // program, or the body of one lookahead. slot_bytes: memory its thread
    // lists may give to slots (more slots are kept in several passes).
    // Requests keep slots within [slots_from, slots_to) only: a lookahead's
    // VM holds its own groups' slots, not the whole pattern's.
    PikeVm(const Nfa &nfa, Subject &subject, LookaheadOracle &oracle, uint32_t first, uint32_t last,
           size_t slot_bytes, size_t slots_from, size_t slots_to);

    struct Run {
        uint32_t entry = 0;                 // first instruction of a thread
        size_t from = 0;                    // where the search begins
        StartPositions *starts = nullptr;   // where else a thread may begin (none: only at from)
        bool exists_only = false;           // stop at the first accept; no slots
        size_t slot_begin = 0;              // slots kept for the threads
        size_t slot_end = 0;
        size_t initial = kNoPosition;       // what a slot holds before it is written
        size_t forbid_empty_at = kNoPosition;
    };

    // The winning thread's slots [slot_begin, slot_end) go to slots (slot 0
    // is the match start when kept); start and end of the match to start/end.
    bool run(const Run &request, std::vector<size_t> &slots, size_t &start, size_t &end);

    // States entered so far, the measure of work done.
    uint64_t steps() const { return steps_; }

    // Most slots per thread that keep the thread lists within their memory share.
    size_t slots_per_batch() const;

private:
    struct List {
        std::vector<uint32_t> pcs;   // threads in priority order
        std::vector<size_t> slots;   // a row of slot values per thread
        size_t count = 0;
    };
    struct Frame {
        uint32_t pc;     // instruction to explore, or kRestoreSlot
        uint32_t value;  // d when exploring, the slot when restoring
        size_t saved;    // the slot's value to restore
    };

    void prepare(const Run &request);
    void next_generation();
    // Follows every zero-width path from pc at pos, adding the threads that
    // wait to consume (or accept) to list, in priority order.
    void closure(uint32_t pc, size_t pos, List &list);
    bool follow(uint32_t &pc, uint32_t &d, size_t pos, List &list);
    void add_thread(uint32_t pc, List &list);
    void set_slot(uint32_t slot, size_t value);
    void apply_lookahead_groups(uint32_t index, size_t pos);
    uint32_t state(uint32_t pc, uint32_t d) const;

    const Nfa &nfa_;
    Subject &subject_;
    LookaheadOracle &oracle_;
    uint32_t state_offset_;
    uint32_t max_threads_;
    size_t slot_bytes_;
    std::vector<uint32_t> seen_;  // generation in which each state was entered
    uint32_t generation_ = 0;
    List current_;
    List next_;
    std::vector<Frame> stack_;
    std::vector<size_t> scratch_;  // slots of the path being followed, from scratch_base_ on
    size_t scratch_base_ = 0;
    size_t slot_begin_ = 0;
    size_t slot_end_ = 0;
    size_t width_ = 0;
    bool exists_only_ = false;
    bool accepted_ = false;        // exists_only: an accept was reached
    uint64_t steps_ = 0;
};

// Runs request keeping every slot of [request.slot_begin, request.slot_end), in as
// many passes as the thread lists' memory needs: later passes repeat the
// search from the match found, which reproduces the same winner.
bool run_in_batches(PikeVm &vm, PikeVm::Run request, std::vector<size_t> &slots, size_t &start, size_t &end);

}  // namespace bregexp

#endif
