#include "geometry/field_exchange.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "geometry/input_validation.h"

namespace kellvor {
namespace {

// Texts of the eight fields for the dialog's initial values, in exchange order.
FieldTexts initialTexts() {
    return {"17", "40", "8", "45", "20", "0", "0", "10"};
}

TEST(FormatFields, InitialValuesShowAsTyped) {
    EXPECT_EQ(formatFields(GearPairInput{}), initialTexts());
}

TEST(FormatFields, RealsKeepFifteenDigitsAndIntegersAreDecimal) {
    GearPairInput in;
    in.z1 = -3;
    in.mn = 0.1 + 0.2;
    in.b = 1e-25;
    in.beta = 12.5;
    in.x2 = -0.375;
    const FieldTexts texts = formatFields(in);
    EXPECT_EQ(texts[0], "-3");
    EXPECT_EQ(texts[2], "0.3");
    EXPECT_EQ(texts[3], "1e-25");
    EXPECT_EQ(texts[4], "12.5");
    EXPECT_EQ(texts[6], "-0.375");
}

TEST(FieldExchange, TableIsInTabOrderWithTheLabelsOfTheDialog) {
    const int ids[] = {1001, 1003, 1002, 1004, 1005, 1006, 1007, 1008};
    const char* labels[] = {
        "z1:",           "z2:", "mn:", "Breite:",
        "Winkel Betta:", "x1:", "x2:", "Anzahl der Elemente innerhalb der Evolvente:"};
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        EXPECT_EQ(inputFields()[i].controlId, ids[i]) << i;
        EXPECT_EQ(inputFields()[i].label, labels[i]) << i;
    }
}

TEST(FieldExchange, ValuesOfFifteenDigitsReadBackUnchanged) {
    GearPairInput in;
    in.z1 = 2147483647;
    in.mn = 12.3456789012345;
    in.b = 1e-20;
    in.beta = 29.25;
    in.x1 = -0.5;
    in.x2 = 0.0999999999999999;
    in.segmentCount = -7;
    GearPairInput read{};
    read.z1 = 99;
    const auto error = exchangeFields(formatFields(in), read);
    ASSERT_FALSE(error.has_value()) << error->message;
    EXPECT_EQ(read.z1, in.z1);
    EXPECT_EQ(read.mn, in.mn);
    EXPECT_EQ(read.b, in.b);
    EXPECT_EQ(read.beta, in.beta);
    EXPECT_EQ(read.x1, in.x1);
    EXPECT_EQ(read.x2, in.x2);
    EXPECT_EQ(read.segmentCount, in.segmentCount);
}

// One field's text, and whether the exchange takes it.
struct TextCase {
    const char* name;
    std::size_t step;
    const char* text;
    bool accepted;
    const char* messagePart = "";  // must appear in the message when rejected
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class FieldText : public testing::TestWithParam<TextCase> {};

TEST_P(FieldText, AcceptedOrRejectedWithItsMessage) {
    const TextCase& c = GetParam();
    FieldTexts texts = initialTexts();
    texts[c.step] = c.text;
    GearPairInput in;
    const auto error = exchangeFields(texts, in);
    if (c.accepted) {
        EXPECT_FALSE(error.has_value()) << error->message;
        return;
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, c.step);
    const std::string name(inputFields()[c.step].name);
    EXPECT_NE(error->message.find("\"" + name + "\""), std::string::npos) << error->message;
    EXPECT_NE(error->message.find(c.messagePart), std::string::npos) << error->message;
}

const TextCase kTextCases[] = {
    {"Z1Lowest", 0, "4", true},
    {"Z1BelowRange", 0, "3", false, "4 ≤ z1 ≤ 2147483647"},
    {"Z1Largest", 0, "2147483647", true},
    {"Z1BeyondInt", 0, "2147483648", false, "4 ≤ z1 ≤ 2147483647"},
    {"Z1Letters", 0, "17a", false, "keine ganze Zahl"},
    {"Z1Fraction", 0, "17.5", false, "keine ganze Zahl"},
    {"Z1Empty", 0, "", false, "keine ganze Zahl"},
    {"Z1BlanksAround", 0, " 17\t", true},
    {"Z1Plus", 0, "+17", true},
    {"Z1DoubleSign", 0, "+-17", false, "keine ganze Zahl"},
    {"Z2BelowRange", 1, "-40", false, "4 ≤ z2 ≤ 2147483647"},
    {"MnLowest", 2, "0.5", true},
    {"MnHighest", 2, "50", true},
    {"MnAbove", 2, "50.0001", false, "0.5 ≤ mn ≤ 50 mm"},
    {"MnBelow", 2, "0.4999", false, "0.5 ≤ mn ≤ 50 mm"},
    {"MnDecimalComma", 2, "8,5", false, "\"8,5\" ist keine Zahl"},
    {"MnExponent", 2, "8e0", true},
    {"MnNotANumber", 2, "nan", false, "keine Zahl"},
    {"MnInfinity", 2, "inf", false, "keine Zahl"},
    {"MnHex", 2, "0x8", false, "keine Zahl"},
    {"BLowest", 3, "1e-20", true},
    {"BHighest", 3, "1e21", true},
    {"BTiny", 3, "1e-25", false, "1e-20 ≤ b ≤ 1e+21 mm"},
    {"BZero", 3, "0", false, "1e-20 ≤ b ≤ 1e+21 mm"},
    {"BOverflow", 3, "1e400", false, "1e-20 ≤ b ≤ 1e+21 mm"},
    {"BetaZero", 4, "0", true},
    {"BetaThirty", 4, "30", true},
    {"BetaNegative", 4, "-0.0001", false, "0 ≤ beta ≤ 30 Grad"},
    {"BetaAbove", 4, "30.0001", false, "0 ≤ beta ≤ 30 Grad"},
    {"X1Low", 5, "-0.5", true},
    {"X1Above", 5, "0.5001", false, "-0.5 ≤ x"},
    {"X2High", 6, "0.5", true},
    {"X2Below", 6, "-0.5001", false, "-0.5 ≤ x"},
    {"SegmentsNegativeUnchecked", 7, "-3", true},
    {"SegmentsHugeUnchecked", 7, "100000", true},
    {"SegmentsLetters", 7, "zehn", false, "keine ganze Zahl"},
    {"SegmentsBeyondInt", 7, "99999999999", false, "-2147483648 ≤ Anzahl ≤ 2147483647"},
};

INSTANTIATE_TEST_SUITE_P(Table, FieldText, testing::ValuesIn(kTextCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FieldExchange, StopsAtTheFirstBadFieldInTableOrder) {
    // mn (step 2) and x1 (step 5) are both wrong; mn comes first although its id is 1002.
    FieldTexts texts = {"20", "41", "abc", "30", "10", "0.9", "0.1", "12"};
    GearPairInput in;
    const auto error = exchangeFields(texts, in);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, 2u);
    EXPECT_EQ(in.z1, 20);  // before the bad field: stored
    EXPECT_EQ(in.z2, 41);
    EXPECT_EQ(in.mn, 8.0);  // unreadable: unchanged
    EXPECT_EQ(in.b, 45.0);  // after it: unchanged
    EXPECT_EQ(in.beta, 20.0);
    EXPECT_EQ(in.x1, 0.0);
    EXPECT_EQ(in.x2, 0.0);
    EXPECT_EQ(in.segmentCount, 10);
}

TEST(FieldExchange, ValueOutOfRangeIsStoredButStopsTheExchange) {
    // A face width of 1e-25 is read, kept in its member, and still ends the exchange there.
    FieldTexts texts = {"18", "39", "5", "1e-25", "10", "0.25", "-0.25", "12"};
    GearPairInput in;
    const auto error = exchangeFields(texts, in);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, 3u);
    EXPECT_EQ(in.mn, 5.0);
    EXPECT_EQ(in.b, 1e-25);
    EXPECT_EQ(in.beta, 20.0);
    EXPECT_EQ(in.x1, 0.0);
    EXPECT_EQ(in.x2, 0.0);
    EXPECT_EQ(in.segmentCount, 10);
}

TEST(FieldExchange, AllGoodStoresEveryField) {
    FieldTexts texts = {"21", "43", "2.5", "12", "15", "0.3", "-0.2", "7"};
    GearPairInput in;
    ASSERT_FALSE(exchangeFields(texts, in).has_value());
    EXPECT_EQ(in.z1, 21);
    EXPECT_EQ(in.z2, 43);
    EXPECT_EQ(in.mn, 2.5);
    EXPECT_EQ(in.b, 12.0);
    EXPECT_EQ(in.beta, 15.0);
    EXPECT_EQ(in.x1, 0.3);
    EXPECT_EQ(in.x2, -0.2);
    EXPECT_EQ(in.segmentCount, 7);
}

// The dialog's fields with the decimal comma: "8,5" reads as 8.5, messages write commas, and a
// text the commands' range test would refuse is refused while it is typed.
TEST(CheckFieldText, CommaFormatTable) {
    const FieldFormat comma{DecimalMark::comma};
    struct Row {
        std::size_t step;
        const char* text;
        const char* message;  // empty: accepted
    };
    const Row rows[] = {
        {2, "8,5", ""},
        {2, "8.5", ""},
        {4, " 12,25 ", ""},
        {2, "8,5,1", "Feld \"mn\": \"8,5,1\" ist keine Zahl"},
        {5, "0,7", "Feld \"x1\": erlaubt ist -0,5 ≤ x1 ≤ 0,5"},
        {3, "1e-25", "Feld \"Breite\": erlaubt ist 1e-20 ≤ b ≤ 1e+21 mm"},
        {7, "1000",
         "Feld \"Anzahl der Elemente innerhalb der Evolvente\": erlaubt ist 0 ≤ Anzahl ≤ "
         "499, ganzzahlig"},
        {0, "3", "Feld \"z1\": erlaubt ist 4 ≤ z1 ≤ 2147483647, ganzzahlig"},
        {0, "17,0", "Feld \"z1\": \"17,0\" ist keine ganze Zahl"},
    };
    for (const Row& r : rows) {
        const auto message = checkFieldText(r.step, r.text, comma);
        EXPECT_EQ(message.value_or(""), r.message) << r.text;
    }
    GearPairInput in;
    FieldTexts texts = initialTexts();
    texts[2] = "2,5";
    ASSERT_FALSE(exchangeFields(texts, in, comma));
    EXPECT_EQ(in.mn, 2.5);
    in.x2 = -0.125;
    EXPECT_EQ(formatFields(in, comma)[6], "-0,125");
}

// Live checking agrees with what the buttons do: a field's text alone is accepted exactly when
// the exchange of all fields (the others at their initial texts) succeeds and the range test
// passes. Checked over random texts near and beyond every field's bounds.
TEST(CheckFieldText, AgreesWithExchangeAndRangeTest) {
    std::uint64_t state = 7;
    const auto next = [&] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state >> 11;
    };
    const char* pieces[] = {"0",          "4",   "-0,5",  "0.5", "30",      "50",
                            "499",        "500", "1e-25", "3",   "0,50001", "-1",
                            "2147483648", "abc", "",      "1,5", "7e1",     "0,2"};
    for (int i = 0; i < 4000; ++i) {
        const std::size_t step = next() % kFieldCount;
        std::string text = pieces[next() % std::size(pieces)];
        if (next() % 3 == 0)
            text += std::to_string(next() % 10);
        FieldTexts texts = initialTexts();
        texts[step] = text;
        GearPairInput in;
        const bool accepted =
            !exchangeFields(texts, in, FieldFormat{DecimalMark::comma}) && validateInput(in);
        EXPECT_EQ(!checkFieldText(step, text, FieldFormat{DecimalMark::comma}), accepted)
            << step << " \"" << text << "\"";
    }
}

}  // namespace
}  // namespace kellvor
