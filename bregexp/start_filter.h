// Which pairs of bytes a match can begin with, worked out from the compiled
// program. The search uses it to pass over start positions with two table
// look-ups instead of entering the matcher.
#ifndef BREGEXP_START_FILTER_H
#define BREGEXP_START_FILTER_H

#include "program.h"

namespace bregexp {

// Fills program.second_bytes and sets program.use_pair_filter when the
// program allows it (it needs use_first_bytes already worked out).
void compute_pair_filter(Program &program);

}  // namespace bregexp

#endif
