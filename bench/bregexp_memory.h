// Peak memory of a stretch of work: the process's high-water mark of
// resident memory is reset at the start (Linux clear_refs), and the growth
// over the resident size at that moment is what the work added.
#pragma once

#include <cstddef>

namespace bench {

class PeakMemory {
public:
    PeakMemory();                      // resets the high-water mark
    std::size_t extraBytes() const;    // peak since construction minus the starting size
    bool exact() const { return reset_; }  // false when the reset was refused

private:
    bool reset_ = false;
    std::size_t baseline_ = 0;
};

}  // namespace bench
