// Input level units. The module always works in dBm; the operator sees and enters levels in one of six
// units, the one the module holds as its level dimension. All conversions assume a 50 ohm input.
#ifndef QM_COMMON_LEVEL_UNITS_H
#define QM_COMMON_LEVEL_UNITS_H

// Unit codes as the module stores them.
enum LevelUnit : int {
    LEVEL_UNIT_DBM = 1,
    LEVEL_UNIT_DBV = 2,
    LEVEL_UNIT_DBMV = 3,
    LEVEL_UNIT_DBUV = 4,
    LEVEL_UNIT_VOLT = 5,
    LEVEL_UNIT_MILLIWATT = 6,
};

// Converts `value` from one unit code to another into *result. The decibel rows use whole-decibel
// offsets (13, 17, 47, 77, 107, 120, 137), so the V and mW rows differ slightly from an exact 50 ohm
// model while staying consistent with each other: a round trip returns the starting value. For a code
// outside 1..6 *result is left as it was.
void convertLevel(int from, int to, double value, double* result);

// One entry of the unit selector. The selector lists the units in its own order, not in code order.
struct LevelUnitChoice {
    int code;
    const char* suffix;  // "(dBm)" ... as the level labels end
    int precision;       // decimals shown: 2 for the decibel units, 6 for V and mW
};

constexpr int LEVEL_UNIT_CHOICES = 6;
// The unit of a selector position, nullptr outside 0..5.
const LevelUnitChoice* levelUnitOfChoice(int choice);
// The selector position of a unit code, -1 for an unknown code.
int levelUnitChoiceOf(int code);
// Decimals shown for a unit code (2 for an unknown one).
int levelUnitPrecision(int code);
// Label suffix of a unit code ("(dBm)" for an unknown one).
const char* levelUnitSuffix(int code);

#endif
