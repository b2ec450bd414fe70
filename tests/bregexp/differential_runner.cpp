#include "differential_runner.h"

#include "differential_blowup.h"
#include "differential_oracle.h"

#include "bregexp.h"
#include "bregexp_error.h"
#include "engine.h"

#include <cstring>
#include <memory>

namespace differential {

namespace {

struct RecordRelease {
    void operator()(BRegexpRecord *record) const {
        if (record) BRegfree(record);
    }
};
using RecordHolder = std::unique_ptr<BRegexpRecord, RecordRelease>;

const char *const kTooComplex = "pattern too complex for this text";

Outcome runOne(const Case &c, RecordHolder &holder) {
    char message[BREGEXP_MESSAGE_SIZE];
    message[0] = '\x7f';  // the library must always write a terminated message
    const std::string command = c.command();
    const char *begin = c.text.data();
    const char *end = begin + c.text.size();
    BRegexpRecord *record = holder.release();
    int result = c.op == 's' ? BSubst(command.c_str(), begin, end, &record, message)
                             : BMatch(command.c_str(), begin, end, &record, message);
    holder.reset(record);

    Outcome outcome;
    if (message[0] != '\0') {
        outcome.error = true;
        outcome.message.assign(message, strnlen(message, BREGEXP_MESSAGE_SIZE));
        return outcome;
    }
    outcome.matched = result != 0;
    if (!outcome.matched || !record) return outcome;
    for (int g = 0; g <= record->group_count; ++g) {
        const char *start = record->starts[g];
        const char *stop = record->ends[g];
        if (!start || !stop) {
            outcome.groups.emplace_back(std::nullopt);
        } else {
            outcome.groups.emplace_back(
                std::make_pair(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(stop - begin)));
        }
    }
    if (c.op == 's' && record->output) outcome.output.assign(record->output, record->output_length);
    return outcome;
}

}  // namespace

std::string report(const Case &c, const Outcome &perl, const Outcome &ours) {
    return "command " + quoted(c.command()) + "\n  text    " + quoted(c.text) + "\n  perl    " + describe(perl) +
           "\n  ours    " + describe(ours);
}

bool agrees(const Case &c, const Outcome &perl, const Outcome &ours) {
    if (ours.error || perl.matched != ours.matched) return false;
    if (!perl.matched) return true;
    if (c.op == 's') {
        // After s///g Perl's own @- and @+ lose the groups of the last match
        // (its final, failing attempt resets them), so only the output counts.
        bool global = c.flags.find('g') != std::string::npos;
        if (!global && perl.groups != ours.groups) return false;
        return perl.output == ours.output;
    }
    return perl.groups == ours.groups;
}

namespace {

Outcome runOnPikeVm(const Case &c) {
    Outcome outcome;
    try {
        const bregexp::Regex regex(c.command());
        std::vector<std::size_t> captures;
        if (c.op == 's')
            outcome.matched = regex.substitute(c.text, outcome.output, captures, bregexp::Engine::pike_vm);
        else
            outcome.matched = regex.match(c.text, captures, bregexp::Engine::pike_vm);
        if (!outcome.matched) {
            outcome.output.clear();
            return outcome;
        }
        for (std::size_t slot = 0; slot + 1 < captures.size(); slot += 2) {
            if (captures[slot] == bregexp::kNoPosition)
                outcome.groups.emplace_back(std::nullopt);
            else
                outcome.groups.emplace_back(std::make_pair(captures[slot], captures[slot + 1]));
        }
    } catch (const bregexp::Error &e) {
        outcome.error = true;
        outcome.message = e.what();
    }
    return outcome;
}

}  // namespace

std::vector<Outcome> runPikeVm(const std::vector<Case> &cases) {
    std::vector<Outcome> outcomes;
    outcomes.reserve(cases.size());
    for (const Case &c : cases) outcomes.push_back(runOnPikeVm(c));
    return outcomes;
}

std::vector<Outcome> runOurs(const std::vector<Case> &cases) {
    std::vector<Outcome> outcomes;
    outcomes.reserve(cases.size());
    RecordHolder holder;
    std::string held_command;
    for (const Case &c : cases) {
        std::string command = c.command();
        if (command != held_command) {
            holder.reset();
            held_command = command;
        }
        outcomes.push_back(runOne(c, holder));
    }
    return outcomes;
}

Comparison compareWithPerl(const std::vector<Case> &cases) {
    Comparison comparison;
    auto perl = askPerl(cases);
    auto ours = runOurs(cases);
    auto pike = runPikeVm(cases);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (perl[i].rejected) {
            ++comparison.rejected_by_perl;
            continue;
        }
        if (ours[i].error && ours[i].message == kTooComplex && hasBackReference(cases[i].pattern, cases[i].shiftJis())) {
            // What a back-reference compares depends on the captures, so
            // such a pattern can still run out of steps. Counted, not
            // compared; without back-references it is a fault.
            ++comparison.too_complex;
            continue;
        }
        ++comparison.compared;
        if (perl[i].outcome.matched) ++comparison.matches;
        if (!agrees(cases[i], perl[i].outcome, ours[i])) {
            comparison.mismatches.push_back(report(cases[i], perl[i].outcome, ours[i]));
            comparison.failing.push_back(cases[i]);
        } else if (!hasBackReference(cases[i].pattern, cases[i].shiftJis()) &&
                   !agrees(cases[i], perl[i].outcome, pike[i])) {
            comparison.mismatches.push_back("Pike VM: " + report(cases[i], perl[i].outcome, pike[i]));
            comparison.failing.push_back(cases[i]);
        }
    }
    return comparison;
}

}  // namespace differential
