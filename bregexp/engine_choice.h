// Which engine answers a search, per pattern and text:
//
// - a pattern with back-references (to text that is not fixed): the
//   backtracker with its budget, the only engine that can compare them;
// - any other pattern: the bounded backtracker, the fastest for the
//   common case (literal skipping, runs of one character taken in one go),
//   while its memo table for this text fits; if it gives up (its stack,
//   steps or table would pass their limits) the Pike VM takes over this
//   search and the rest of the text's searches;
// - the Pike VM at once where the backtracker's table would not fit.
//
// Every engine gets the same start positions from StartPositions, so the
// literal and last-literal skipping stay in front of all of them.
#ifndef BREGEXP_ENGINE_CHOICE_H
#define BREGEXP_ENGINE_CHOICE_H

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "backtracker.h"
#include "lookahead_oracle.h"
#include "nfa.h"
#include "pike_vm.h"
#include "program.h"
#include "start_positions.h"
#include "subject.h"

namespace bregexp {

// automatic: as above; pike_vm: the Pike VM wherever it can answer (tests
// compare the engines with it).
enum class Engine { automatic, pike_vm };

// The program lowered for the automaton engines, built on first use.
class LazyNfa {
public:
    explicit LazyNfa(const Program &program) : program_(program) {}
    LazyNfa(const LazyNfa &) = delete;  // it refers to its owner's program
    LazyNfa &operator=(const LazyNfa &) = delete;
    const Nfa &get();

private:
    const Program &program_;
    std::unique_ptr<Nfa> nfa_;
};

// The searches of one text (several for a global substitution).
class TextSearch {
public:
    TextSearch(const Program &program, LazyNfa &nfa, std::string_view text, Engine engine);
    ~TextSearch();

    // See Backtracker::search.
    bool search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures);

private:
    void start_pike_vm();
    bool pike_search(size_t from, size_t forbid_empty_at, std::vector<size_t> &captures);

    const Program &program_;
    LazyNfa &nfa_;
    Subject subject_;
    std::unique_ptr<Backtracker> backtracker_;
    // The Pike VM and what it needs, made when it is first used.
    struct Automaton;
    std::unique_ptr<Automaton> automaton_;
};

}  // namespace bregexp

#endif
