// Texts on which a backtracking matcher can blow up, run through BMatch
// beside Perl: unclosed region markers, runs of comments before a marker,
// nested quantifiers, the ordinary patterns that once blew up (bounded
// repeats in counted ones, loops of choices, empty alternatives in a loop,
// a thousand loops), and back-references that keep the search exponential
// (they have to end within the budget: about a second per MB plus a second).
#pragma once

namespace bench {

void registerAdversarialRows();
void printAdversarialSummary();

}  // namespace bench
