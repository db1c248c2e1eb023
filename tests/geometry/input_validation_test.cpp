#include "geometry/input_validation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace kellvor {
namespace {

struct RangeCase {
    const char* name;
    GearPairInput input;
    bool passes;
    InputField failing = InputField::z1;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

GearPairInput with(void (*change)(GearPairInput&)) {
    GearPairInput in;
    change(in);
    return in;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const RangeCase kRangeCases[] = {
    {"InitialValues", GearPairInput{}, true},
    {"Z1Four", with([](GearPairInput& i) { i.z1 = 4; }), true},
    {"Z1Three", with([](GearPairInput& i) { i.z1 = 3; }), false, InputField::z1},
    {"Z2Four", with([](GearPairInput& i) { i.z2 = 4; }), true},
    {"Z2Three", with([](GearPairInput& i) { i.z2 = 3; }), false, InputField::z2},
    {"Z1Million", with([](GearPairInput& i) { i.z1 = 1000000; }), true},
    {"Z1Largest", with([](GearPairInput& i) { i.z1 = 2147483647; }), true},
    {"MnLow", with([](GearPairInput& i) { i.mn = 0.5; }), true},
    {"MnHigh", with([](GearPairInput& i) { i.mn = 50; }), true},
    {"MnBelow", with([](GearPairInput& i) { i.mn = 0.4999; }), false, InputField::mn},
    {"MnAbove", with([](GearPairInput& i) { i.mn = 50.0001; }), false, InputField::mn},
    {"BZero", with([](GearPairInput& i) { i.b = 0; }), false, InputField::b},
    {"BTiny", with([](GearPairInput& i) { i.b = 1e-30; }), true},
    {"BHuge", with([](GearPairInput& i) { i.b = 1e30; }), true},
    {"BetaZero", with([](GearPairInput& i) { i.beta = 0; }), true},
    {"BetaThirty", with([](GearPairInput& i) { i.beta = 30; }), true},
    {"BetaBelow", with([](GearPairInput& i) { i.beta = -0.0001; }), false, InputField::beta},
    {"BetaAbove", with([](GearPairInput& i) { i.beta = 30.0001; }), false, InputField::beta},
    {"X1Low", with([](GearPairInput& i) { i.x1 = -0.5; }), true},
    {"X1High", with([](GearPairInput& i) { i.x1 = 0.5; }), true},
    {"X1Above", with([](GearPairInput& i) { i.x1 = 0.5001; }), false, InputField::x1},
    {"X2Low", with([](GearPairInput& i) { i.x2 = -0.5; }), true},
    {"X2High", with([](GearPairInput& i) { i.x2 = 0.5; }), true},
    {"X2Above", with([](GearPairInput& i) { i.x2 = 0.5001; }), false, InputField::x2},
    {"SeveralOutFirstNamed", with([](GearPairInput& i) { i.x1 = 0.7, i.x2 = -0.9; }), false,
     InputField::x1},
    {"SegmentsZero", with([](GearPairInput& i) { i.segmentCount = 0; }), true},
    {"SegmentsFull", with([](GearPairInput& i) { i.segmentCount = 499; }), true},
    {"SegmentsOverCapacity", with([](GearPairInput& i) { i.segmentCount = 500; }), false,
     InputField::segmentCount},
    {"SegmentsNegative", with([](GearPairInput& i) { i.segmentCount = -1; }), false,
     InputField::segmentCount},
    {"MnNaN", with([](GearPairInput& i) { i.mn = kNaN; }), false, InputField::mn},
    {"BNaN", with([](GearPairInput& i) { i.b = kNaN; }), false, InputField::b},
    {"BInfinite", with([](GearPairInput& i) { i.b = kInf; }), false, InputField::b},
    {"BetaNaN", with([](GearPairInput& i) { i.beta = kNaN; }), false, InputField::beta},
    {"X1NaN", with([](GearPairInput& i) { i.x1 = kNaN; }), false, InputField::x1},
    {"X2NaN", with([](GearPairInput& i) { i.x2 = kNaN; }), false, InputField::x2},
};

class ValidateInput : public testing::TestWithParam<RangeCase> {};

TEST_P(ValidateInput, DecidesAndNamesFirstFailingField) {
    const RangeCase& c = GetParam();
    EXPECT_EQ(validateInput(c.input), c.passes);
    const auto violation = findRangeViolation(c.input);
    ASSERT_EQ(violation.has_value(), !c.passes);
    if (violation) {
        EXPECT_EQ(violation->field, c.failing);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ValidateInput, testing::ValuesIn(kRangeCases),
                         [](const testing::TestParamInfo<RangeCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(DescribeRangeViolation, NamesFieldAndRange) {
    GearPairInput in;
    in.mn = 60;
    const auto v = findRangeViolation(in);
    ASSERT_TRUE(v);
    EXPECT_EQ(describeRangeViolation(*v), "Feld \"mn\": erlaubt ist 0.5 ≤ mn ≤ 50 mm");
    EXPECT_EQ(describeRangeViolation(*v, DecimalMark::comma),
              "Feld \"mn\": erlaubt ist 0,5 ≤ mn ≤ 50 mm");
    in = GearPairInput{};
    in.b = 0;
    EXPECT_EQ(describeRangeViolation(*findRangeViolation(in)),
              "Feld \"Breite\": erlaubt ist b > 0 mm");
    in = GearPairInput{};
    in.z2 = 3;
    EXPECT_EQ(describeRangeViolation(*findRangeViolation(in)),
              "Feld \"z2\": erlaubt ist z2 ≥ 4, ganzzahlig");
}

TEST(RangeWarning, TextAndCaptionAreExact) {
    EXPECT_EQ(kRangeWarningText,
              "Die Eingegebenen Zahnradwerte sind nicht alle im gültigem Bereich");
    EXPECT_EQ(kRangeWarningCaption, "Warnung");
}

}  // namespace
}  // namespace kellvor
