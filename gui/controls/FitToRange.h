// Clamps or wraps an integer into the closed range Min..Max.
#pragma once

#include <cstdint>

namespace gui {

// Max <= Min gives Min. With Wrap the result is Min + ((Value - Min) mod span),
// the remainder taken non-negative; without it, Value clamped to the range.
std::int32_t FitToRange(std::int32_t value, std::int32_t min, std::int32_t max, bool wrap);

}  // namespace gui
