// Peak memory of a stretch of work, counted at the allocator: this program
// replaces the global operator new and delete (which the library's
// containers use too) with counting ones. Freed blocks that the C library
// keeps for reuse would hide the work's own peak from the process's resident
// size, hence counting rather than reading the resident set.
#pragma once

#include <cstddef>

namespace bench {

class PeakMemory {
public:
    PeakMemory();                    // starts a new peak at the current level
    std::size_t extraBytes() const;  // highest level since, minus the starting level

private:
    std::size_t baseline_;
};

}  // namespace bench
