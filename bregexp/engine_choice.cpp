#include "engine_choice.h"

#include <cstdint>

namespace bregexp {

const Nfa &LazyNfa::get() {
    if (!nfa_) nfa_ = std::make_unique<Nfa>(lower_to_nfa(program_));
    return *nfa_;
}

// What the Pike VM's thread lists may give to capture slots.
constexpr size_t kSlotBytes = size_t(8) << 20;

struct TextSearch::Automaton {
    Automaton(const Program &program, const Nfa &lowered, Subject &subject)
        : meter(UINT64_MAX, WorkMeter::AtLimit::fail),
          starts(program, subject, meter),
          oracle(lowered, subject),
          vm(lowered, subject, oracle, 0, static_cast<uint32_t>(lowered.code.size() - 1), kSlotBytes, 0,
             lowered.thread_slots),
          nfa(lowered) {}

    WorkMeter meter;  // counts, never stops: the Pike VM is linear
    StartPositions starts;
    LookaheadOracle oracle;
    PikeVm vm;
    const Nfa &nfa;
};

TextSearch::TextSearch(const Program &program, LazyNfa &nfa, std::string_view text, Engine engine)
    : program_(program), nfa_(nfa), subject_(program, text.data(), text.size()) {
    if (program.backrefs) {
        backtracker_ = std::make_unique<Backtracker>(program, subject_, BacktrackLimits::with_budget(text.size()));
    } else if (engine == Engine::automatic && BacktrackLimits::memo_fits(program, text.size())) {
        backtracker_ = std::make_unique<Backtracker>(program, subject_, BacktrackLimits::bounded(program, text.size()));
    }
}

TextSearch::~TextSearch() = default;

void TextSearch::start_pike_vm() {
    backtracker_.reset();  // its memory goes before the Pike VM's comes
    automaton_ = std::make_unique<Automaton>(program_, nfa_.get(), subject_);
}

bool TextSearch::search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures) {
    if (backtracker_) {
        try {
            return backtracker_->search(from, forbid_empty_at, captures);
        } catch (const SearchGaveUp &) {
            // Nothing of the attempt is kept; the Pike VM starts afresh.
        }
    }
    if (!automaton_) start_pike_vm();
    return pike_search(from, forbid_empty_at, captures);
}

bool TextSearch::pike_search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures) {
    Automaton &a = *automaton_;
    a.oracle.set_floor(from);
    a.starts.begin();
    PikeVm::Run request;
    request.from = from;
    request.starts = &a.starts;
    request.slot_end = a.nfa.thread_slots;
    request.forbid_empty_at = forbid_empty_at;
    size_t start = 0, end = 0;
    if (!run_in_batches(a.vm, request, captures, start, end)) return false;
    // The groups of lookaheads passed last at a kept position.
    for (uint32_t index = 0; index < a.nfa.lookaheads.size(); ++index) {
        const NfaLookahead &look = a.nfa.lookaheads[index];
        if (look.deferred_slot == NfaLookahead::kNotDeferred || captures[look.deferred_slot] == kNoPosition) continue;
        const std::vector<size_t> &values = a.oracle.captures(index, captures[look.deferred_slot]);
        std::copy(values.begin(), values.end(), captures.begin() + look.slot_begin);
    }
    captures.resize(a.nfa.slots);
    captures[0] = start;
    captures[1] = end;
    return true;
}

}  // namespace bregexp
