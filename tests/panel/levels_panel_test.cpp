// Level units and level entries on the simulated module: the selector through all six units with the
// values and ranges converted, and a level entered in volts reaching the module in dBm.
#include <cmath>
#include <string>

#include "level_reference.h"
#include "panel_fixture.h"

namespace {

class ModelLevels : public PanelFixture, public ::testing::WithParamInterface<ModelSpec> {};

TEST_P(ModelLevels, UnitSwitchConvertsValuesAndRangesThroughEveryUnit) {
    const ModelSpec m = GetParam();
    ASSERT_NE(boot(m.code), 0u);
    // A level above the dBm range's reach in some units and below it in others.
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_INPUT_LEVEL, 10.0));
    const double rfDbm = module(qm4120_getRfInputLevel);
    const double ifDbm = module(qm4120_getIfInputLevel);
    ASSERT_NEAR(rfDbm, 10.0, 1e-9);

    struct Unit {
        const char* item;
        int code;
        const char* suffix;
        int precision;
    };
    const Unit units[] = {
        {"dBuV", reference::DBUV, "(dBuV)", 2}, {"Volts", reference::VOLT, "(V)", 6},
        {"dBV", reference::DBV, "(dBV)", 2},    {"mW", reference::MILLIWATT, "(mW)", 6},
        {"dBmV", reference::DBMV, "(dBmV)", 2}, {"dBm", reference::DBM, "(dBm)", 2},
    };
    for (const Unit& u : units) {
        SCOPED_TRACE(u.item);
        ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_RF_DIMENSIONS, u.item));
        EXPECT_EQ(module(qm4120_getInputLevelDimensions), u.code);
        EXPECT_EQ(op.label(main(), MAINPANEL_RF_INPUT_LEVEL), std::string("RF Input Level ") + u.suffix);
        EXPECT_EQ(op.label(main(), MAINPANEL_IF_INPUT_LEVEL), std::string("IF Input Level ") + u.suffix);
        const double tol = u.precision == 6 ? 1e-9 : 1e-6;
        EXPECT_NEAR(number(MAINPANEL_RF_INPUT_LEVEL), reference::fromDbm(u.code, rfDbm), tol);
        EXPECT_NEAR(number(MAINPANEL_IF_INPUT_LEVEL), reference::fromDbm(u.code, ifDbm), tol);
        EXPECT_NEAR(attribute(MAINPANEL_RF_INPUT_LEVEL, ATTR_MIN_VALUE),
                    reference::fromDbm(u.code, m.rfLevelMin), tol);
        EXPECT_NEAR(attribute(MAINPANEL_RF_INPUT_LEVEL, ATTR_MAX_VALUE),
                    reference::fromDbm(u.code, m.rfLevelMax), tol);
        EXPECT_NEAR(attribute(MAINPANEL_IF_INPUT_LEVEL, ATTR_MIN_VALUE),
                    reference::fromDbm(u.code, IF_LEVEL_MIN), tol);
        EXPECT_NEAR(attribute(MAINPANEL_IF_INPUT_LEVEL, ATTR_MAX_VALUE),
                    reference::fromDbm(u.code, IF_LEVEL_MAX), tol);
        EXPECT_EQ(intAttribute(main(), MAINPANEL_RF_INPUT_LEVEL, ATTR_PRECISION), u.precision);
        EXPECT_EQ(intAttribute(main(), MAINPANEL_IF_INPUT_LEVEL, ATTR_PRECISION), u.precision);
        EXPECT_EQ(intAttribute(main(), MAINPANEL_RF_INPUT_LEVEL, ATTR_CHECK_RANGE), VAL_COERCE_RANGE);
        // The switch changes how the level reads, not the level.
        EXPECT_EQ(module(qm4120_getRfInputLevel), rfDbm);
    }
    EXPECT_TRUE(fe.popups().empty());
}

INSTANTIATE_TEST_SUITE_P(Models, ModelLevels, ::testing::ValuesIn(MODEL_SPECS), modelName);

class LevelsPanel : public PanelFixture {};

TEST_F(LevelsPanel, LevelEnteredInAnyUnitReachesTheModuleInDbm) {
    ASSERT_NE(boot(0x4120), 0u);
    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_RF_DIMENSIONS, "Volts"));
    ASSERT_TRUE(op.commit(main(), MAINPANEL_RF_INPUT_LEVEL, 0.1));
    // The module keeps levels to 0.01 dB and the panel shows that level back in volts.
    const double dBm = std::round(reference::toDbm(reference::VOLT, 0.1) * 100) / 100;
    EXPECT_NEAR(module(qm4120_getRfInputLevel), dBm, 1e-9);
    EXPECT_NEAR(number(MAINPANEL_RF_INPUT_LEVEL), reference::fromDbm(reference::VOLT, dBm), 1e-9);
    // The channel table keeps two decimals except in milliwatts.
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", number(MAINPANEL_RF_INPUT_LEVEL));
    EXPECT_EQ(rowCell(4), text);

    ASSERT_TRUE(op.commitLabel(main(), MAINPANEL_RING_RF_DIMENSIONS, "mW"));
    ASSERT_TRUE(op.toggle(main(), MAINPANEL_BINARY_INPUT_SOURCE));  // the IF input takes the IF level
    ASSERT_TRUE(op.commit(main(), MAINPANEL_IF_INPUT_LEVEL, 2.0));
    EXPECT_NEAR(module(qm4120_getIfInputLevel), std::round(10 * std::log10(2.0) * 100) / 100, 1e-9);
    // Six decimals in milliwatts, in the panel and in the channel table.
    std::snprintf(text, sizeof text, "%.6f", number(MAINPANEL_IF_INPUT_LEVEL));
    EXPECT_EQ(rowCell(5), text);

    // A unit changed behind the panel (a settings load, a reset) shows after the refresh.
    ASSERT_GE(qm4120_setInputLevelDimensions(session(), reference::DBMV), 0);
    refreshPanelFromInstrument();
    EXPECT_EQ(op.shows(main(), MAINPANEL_RING_RF_DIMENSIONS), "dBmV");
    EXPECT_EQ(op.label(main(), MAINPANEL_IF_INPUT_LEVEL), "IF Input Level (dBmV)");
    EXPECT_NEAR(number(MAINPANEL_IF_INPUT_LEVEL), module(qm4120_getIfInputLevel) + 47, 1e-9);
}

}  // namespace
