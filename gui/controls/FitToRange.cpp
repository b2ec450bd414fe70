#include "FitToRange.h"

namespace gui {

// Computed in 64 bits: the span of a range near the 32-bit limits and the
// distance of Value from Min do not fit in 32 bits, and one modulo replaces
// the step-per-span loop.
std::int32_t FitToRange(std::int32_t value, std::int32_t min, std::int32_t max, bool wrap) {
    if (max <= min) return min;
    if (value >= min && value <= max) return value;
    if (!wrap) return value > max ? max : min;
    const std::int64_t span = std::int64_t{max} - min + 1;
    std::int64_t offset = (std::int64_t{value} - min) % span;
    if (offset < 0) offset += span;
    return static_cast<std::int32_t>(min + offset);
}

}  // namespace gui
