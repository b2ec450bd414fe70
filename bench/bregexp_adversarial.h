// Texts on which a backtracking matcher can blow up, run through BMatch
// beside Perl: unclosed region markers, runs of comments before a marker,
// nested quantifiers, and a back-reference that keeps the search
// exponential (it has to end within the budget: about a second per MB).
#pragma once

namespace bench {

void registerAdversarialRows();
void printAdversarialSummary();

}  // namespace bench
