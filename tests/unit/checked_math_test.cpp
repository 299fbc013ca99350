#include "common/checked_math.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/run_error.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

void ExpectOverflow(const std::function<void()>& operation) {
    try {
        operation();
        FAIL() << "no overflow raised";
    } catch (const RunError& error) {
        EXPECT_EQ(error.Kind(), RunErrorKind::Overflow);
        EXPECT_NE(error.Message().find(L"the sum"), std::wstring::npos);
    }
}

TEST(CheckedMath, ResultsAtTheLimitsAreExact) {
    EXPECT_EQ(Add32(kMax - 1, 1, L"the sum"), kMax);
    EXPECT_EQ(Sub32(kMin + 1, 1, L"the sum"), kMin);
    EXPECT_EQ(Mul32(-1, kMax, L"the sum"), -kMax);
    EXPECT_EQ(Mul32(65536, -32768, L"the sum"), kMin);
}

TEST(CheckedMath, ResultsPastTheLimitsRaiseOverflowNamingTheQuantity) {
    ExpectOverflow([] { Add32(kMax, 1, L"the sum"); });
    ExpectOverflow([] { Sub32(kMin, 1, L"the sum"); });
    ExpectOverflow([] { Mul32(-1, kMin, L"the sum"); });
    ExpectOverflow([] { Mul32(65536, 32768, L"the sum"); });
    ExpectOverflow([] { RoundToInt32(2147483647.5, L"the sum"); });
    ExpectOverflow([] { RoundToInt32(std::numeric_limits<double>::quiet_NaN(), L"the sum"); });
}

TEST(CheckedMath, RoundingSendsHalvesToTheEvenNeighbour) {
    const std::pair<double, int32_t> cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {184.5, 184},
        {262.5, 262},
        {2.4999, 2},
        {2.5001, 3},
        {-2.6, -3},
        {2147483646.5, 2147483646},
        {-2147483648.5, kMin},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundToInt32(value, L"the sum"), expected) << value;
    }
}

}  // namespace
