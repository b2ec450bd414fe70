#include "FitToRange.h"

#include <gtest/gtest.h>

#include <climits>

using gui::FitToRange;

namespace {

struct Case {
    std::int32_t value, min, max;
    bool wrap;
    std::int32_t expected;
};

// The reference rule: Min + ((Value - Min) mod span), computed the slow way.
std::int32_t ReferenceWrap(std::int64_t value, std::int64_t min, std::int64_t max) {
    std::int64_t span = max - min + 1;
    while (value > max) value -= span;
    while (value < min) value += span;
    return static_cast<std::int32_t>(value);
}

}  // namespace

TEST(FitToRange, FollowsTheTableForSmallRanges) {
    const Case cases[] = {
        {5, 0, 9, true, 5},   {5, 0, 9, false, 5}, {10, 0, 9, true, 0},  {10, 0, 9, false, 9},
        {-1, 0, 9, true, 9},  {-1, 0, 9, false, 0}, {25, 0, 9, true, 5}, {4, 5, 10, true, 10},
        {11, 5, 10, true, 5}, {-8, 5, 10, true, 10}, {0, 0, 9, true, 0}, {9, 0, 9, true, 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitToRange(c.value, c.min, c.max, c.wrap), c.expected)
            << "value " << c.value << " range " << c.min << ".." << c.max << " wrap " << c.wrap;
}

TEST(FitToRange, EmptyOrSingleValueRangeGivesMin) {
    for (bool wrap : {true, false}) {
        EXPECT_EQ(FitToRange(7, 0, -1, wrap), 0);
        EXPECT_EQ(FitToRange(-7, 3, 3, wrap), 3);
        EXPECT_EQ(FitToRange(INT32_MAX, 10, -10, wrap), 10);
    }
}

TEST(FitToRange, WrapsRangesNearThe32BitLimitsWithoutOverflow) {
    // The span of the whole 32-bit range does not fit in 32 bits.
    EXPECT_EQ(FitToRange(INT32_MIN, INT32_MIN, INT32_MAX, true), INT32_MIN);
    EXPECT_EQ(FitToRange(5, INT32_MIN + 1, INT32_MAX, true), 5);
    EXPECT_EQ(FitToRange(INT32_MIN, INT32_MIN + 1, INT32_MAX, true), INT32_MAX);
    EXPECT_EQ(FitToRange(INT32_MAX, INT32_MIN, 0, true), ReferenceWrap(INT32_MAX, INT32_MIN, 0));
    EXPECT_EQ(FitToRange(INT32_MIN, 0, INT32_MAX, true), ReferenceWrap(INT32_MIN, 0, INT32_MAX));
    EXPECT_EQ(FitToRange(INT32_MAX, INT32_MAX - 1, INT32_MAX, true), INT32_MAX);
    EXPECT_EQ(FitToRange(INT32_MIN, INT32_MAX - 2, INT32_MAX, true), ReferenceWrap(INT32_MIN, INT32_MAX - 2, INT32_MAX));
    EXPECT_EQ(FitToRange(INT32_MIN, INT32_MAX - 2, INT32_MAX, false), INT32_MAX - 2);
}

TEST(FitToRange, WrapAgreesWithRepeatedSteps) {
    for (std::int32_t min = -4; min <= 3; ++min)
        for (std::int32_t max = min + 1; max <= min + 6; ++max)
            for (std::int32_t value = -40; value <= 40; ++value)
                ASSERT_EQ(FitToRange(value, min, max, true), ReferenceWrap(value, min, max))
                    << value << " in " << min << ".." << max;
}
