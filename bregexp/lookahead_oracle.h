// Whether each lookahead holds at a position, for the automaton engines.
// A lookahead is first answered by a sub-search from that position (a Pike
// VM over its body that stops at the first way through). Once those
// sub-searches have cost about twice what one pass over the text would, its
// answer for every position is worked out in a single backward pass over
// the text and kept, one bit per position: each lookahead so costs
// O(text x its body) in all. The bits of all lookaheads share a cap of two
// bytes per text byte plus 8 MB (sixteen lookaheads or more); a lookahead
// beyond it keeps being answered by sub-searches.
//
// The groups inside a positive lookahead take the values of its body's
// leftmost match, found by a sub-search where a search passes it (the last
// position asked is remembered).
#ifndef BREGEXP_LOOKAHEAD_ORACLE_H
#define BREGEXP_LOOKAHEAD_ORACLE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "nfa.h"
#include "pike_vm.h"
#include "subject.h"

namespace bregexp {

class LookaheadOracle {
public:
    LookaheadOracle(const Nfa &nfa, Subject &subject);
    ~LookaheadOracle();
    LookaheadOracle(const LookaheadOracle &) = delete;
    LookaheadOracle &operator=(const LookaheadOracle &) = delete;

    // No position below from will be asked from now on.
    void set_floor(size_t from) { floor_ = from; }

    // Whether lookahead index's body matches at pos (its negation not applied).
    bool holds(uint32_t index, size_t pos);
    // Slot values its body's leftmost match at pos sets, from slot_begin on;
    // kUntouched where it sets none. Only for a positive lookahead that holds at pos.
    const std::vector<size_t> &captures(uint32_t index, size_t pos);

private:
    struct Entry;
    Entry &entry(uint32_t index);
    PikeVm &vm(Entry &e, uint32_t index);
    bool forward(uint32_t index, size_t pos);
    bool build_table(uint32_t index);

    const Nfa &nfa_;
    Subject &subject_;
    std::vector<std::unique_ptr<Entry>> entries_;
    size_t floor_ = 0;
    size_t table_bytes_left_;
};

}  // namespace bregexp

#endif
