// Level conversion against an independent computation, its round trips and values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "level_reference.h"
#include "level_units.h"

namespace {

// Values that make sense in each unit, over the module's span of levels and beyond.
std::vector<double> sweep(int unit) {
    std::vector<double> dBm;
    for (double v = -80.0; v <= 40.0; v += 7.25) dBm.push_back(v);
    std::vector<double> values;
    for (double d : dBm) values.push_back(reference::fromDbm(unit, d));
    return values;
}

double converted(int from, int to, double v) {
    double out = -999.0;
    convertLevel(from, to, v, &out);
    return out;
}

TEST(LevelUnits, EveryPairAgreesWithTheReferenceAndRoundTrips) {
    for (int from = 1; from <= 6; ++from) {
        for (int to = 1; to <= 6; ++to) {
            for (double v : sweep(from)) {
                const double want = reference::convert(from, to, v);
                const double got = converted(from, to, v);
                EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want)))
                    << "from " << from << " to " << to << " value " << v;
                EXPECT_NEAR(converted(to, from, got), v, 1e-9 * std::max(1.0, std::fabs(v)))
                    << "round trip " << from << " -> " << to << " value " << v;
            }
        }
    }
}

// Worked out by hand: the 50 ohm volts and whole-decibel offsets the reference rests on, and odd inputs.
TEST(LevelUnits, HandWorkedValuesAndOddInputs) {
    EXPECT_NEAR(converted(1, 5, 0.0), 0.223607, 5e-7);
    // Whole-decibel offsets: 1 V is 13.0103 dBm and 0.0103 dBV, not 0 dBV.
    EXPECT_NEAR(converted(5, 1, 1.0), 13.0103, 5e-5);
    EXPECT_NEAR(converted(5, 2, 1.0), 0.0103, 5e-5);
    // A negative voltage counts by its magnitude; 0 mW is minus infinity.
    EXPECT_DOUBLE_EQ(converted(5, 1, -1.0), converted(5, 1, 1.0));
    EXPECT_TRUE(std::isinf(converted(6, 1, 0.0)) && converted(6, 1, 0.0) < 0);
}

TEST(LevelUnits, UnknownCodesLeaveTheResultAlone) {
    for (auto [from, to] : {std::pair{0, 1}, {1, 7}, {7, 7}, {-1, 3}}) {
        double out = 42.0;
        convertLevel(from, to, 5.0, &out);
        EXPECT_EQ(out, 42.0) << from << " -> " << to;
    }
}

}  // namespace
