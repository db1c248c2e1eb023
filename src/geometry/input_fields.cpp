#include "geometry/input_fields.h"

#include <cmath>

#include "geometry/printable.h"
#include "geometry/real_format.h"

namespace kellvor {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kInt32Max = 2147483647.0;

// The range test bounds every length and angle, and the element count to 499 (500 points per
// flank). The dialog's exchange checks the classic dialog's ranges, which differ only for the
// face width and check no element count.
constexpr std::array<InputFieldEntry, kFieldCount> kFields = {{
    {InputField::z1,
     1001,
     "z1:",
     "z1",
     "z1",
     "",
     "z1",
     FieldType::integer,
     {4, kInf},
     ValueRange{4, kInt32Max}},
    {InputField::z2,
     1003,
     "z2:",
     "z2",
     "z2",
     "",
     "z2",
     FieldType::integer,
     {4, kInf},
     ValueRange{4, kInt32Max}},
    {InputField::mn,
     1002,
     "mn:",
     "mn",
     "mn",
     "mm",
     "mn",
     FieldType::real,
     {0.5, 50},
     ValueRange{0.5, 50}},
    {InputField::b,
     1004,
     "Breite:",
     "Breite",
     "b",
     "mm",
     "b",
     FieldType::real,
     {0, kInf, true},
     ValueRange{1e-20, 1e21}},
    {InputField::beta,
     1005,
     "Winkel Betta:",
     "Winkel Betta",
     "beta",
     "Grad",
     "beta",
     FieldType::real,
     {0, 30},
     ValueRange{0, 30}},
    {InputField::x1,
     1006,
     "x1:",
     "x1",
     "x1",
     "",
     "x1",
     FieldType::real,
     {-0.5, 0.5},
     ValueRange{-0.5, 0.5}},
    {InputField::x2,
     1007,
     "x2:",
     "x2",
     "x2",
     "",
     "x2",
     FieldType::real,
     {-0.5, 0.5},
     ValueRange{-0.5, 0.5}},
    {InputField::segmentCount,
     1008,
     "Anzahl der Elemente innerhalb der Evolvente:",
     "Anzahl der Elemente innerhalb der Evolvente",
     "Anzahl",
     "",
     "segments",
     FieldType::integer,
     {0, 499},
     std::nullopt},
}};

}  // namespace

bool ValueRange::contains(double v) const {
    if (!std::isfinite(v))
        return false;
    const bool aboveMin = minExclusive ? v > min : v >= min;
    return aboveMin && v <= max;
}

const std::array<InputFieldEntry, kFieldCount>& inputFields() {
    return kFields;
}

const InputFieldEntry& fieldEntry(InputField field) {
    return kFields[static_cast<std::size_t>(field)];
}

std::int32_t* integerMember(GearPairInput& in, InputField field) {
    switch (field) {
        case InputField::z1:
            return &in.z1;
        case InputField::z2:
            return &in.z2;
        case InputField::segmentCount:
            return &in.segmentCount;
        default:
            return nullptr;
    }
}

double* realMember(GearPairInput& in, InputField field) {
    switch (field) {
        case InputField::mn:
            return &in.mn;
        case InputField::b:
            return &in.b;
        case InputField::beta:
            return &in.beta;
        case InputField::x1:
            return &in.x1;
        case InputField::x2:
            return &in.x2;
        default:
            return nullptr;
    }
}

double fieldValue(const GearPairInput& input, InputField field) {
    GearPairInput copy = input;
    if (const std::int32_t* i = integerMember(copy, field))
        return *i;
    return *realMember(copy, field);
}

std::string formatBound(double value, DecimalMark mark) {
    std::string text;
    appendReal(text, value, 15);
    if (mark == DecimalMark::comma) {
        for (char& c : text)
            if (c == '.')
                c = ',';
    }
    return text;
}

std::string rangeText(const InputFieldEntry& entry, const ValueRange& range, DecimalMark mark) {
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on long chains of string sums.
    const bool hasMin = std::isfinite(range.min);
    const bool hasMax = std::isfinite(range.max);
    std::string text;
    if (hasMin && hasMax) {
        text += formatBound(range.min, mark);
        text += range.minExclusive ? " < " : " ≤ ";
        text += entry.symbol;
        text += " ≤ ";
        text += formatBound(range.max, mark);
    } else if (hasMin) {
        text += entry.symbol;
        text += range.minExclusive ? " > " : " ≥ ";
        text += formatBound(range.min, mark);
    } else {
        text += entry.symbol;
        text += hasMax ? " ≤ " + formatBound(range.max, mark) : " beliebig";
    }
    if (!entry.unit.empty()) {
        text += ' ';
        text += entry.unit;
    }
    if (entry.type == FieldType::integer)
        text += ", ganzzahlig";
    return text;
}

std::string rangeMessage(const InputFieldEntry& entry, const ValueRange& range, DecimalMark mark) {
    return "Feld \"" + std::string(entry.name) + "\": erlaubt ist " + rangeText(entry, range, mark);
}

std::string unreadableMessage(const InputFieldEntry& entry, std::string_view text) {
    const char* kind = entry.type == FieldType::integer ? "keine ganze Zahl" : "keine Zahl";
    return "Feld \"" + std::string(entry.name) + "\": \"" + printable(text) + "\" ist " + kind;
}

}  // namespace kellvor
