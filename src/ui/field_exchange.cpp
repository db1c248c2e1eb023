#include "ui/field_exchange.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "geometry/real_format.h"

namespace kellvor {

const std::array<EntryField, kFieldCount> kExchangeFields = {{
    {InputField::z1, 1001, "z1:", "z1", FieldType::integer, true, 4, 2147483647},
    {InputField::z2, 1003, "z2:", "z2", FieldType::integer, true, 4, 2147483647},
    {InputField::mn, 1002, "mn:", "mn", FieldType::real, true, 0.5, 50.0},
    {InputField::b, 1004, "Breite:", "Breite", FieldType::real, true, 1e-20, 1e21},
    {InputField::beta, 1005, "Winkel Betta:", "Winkel Betta", FieldType::real, true, 0.0, 30.0},
    {InputField::x1, 1006, "x1:", "x1", FieldType::real, true, -0.5, 0.5},
    {InputField::x2, 1007, "x2:", "x2", FieldType::real, true, -0.5, 0.5},
    // The element count has no range of its own here; the range test of the commands bounds it.
    {InputField::segmentCount, 1008, "Anzahl der Elemente innerhalb der Evolvente:",
     "Anzahl der Elemente innerhalb der Evolvente", FieldType::integer, false, 0, 0},
}};

namespace {

std::int32_t* integerMember(GearPairInput& in, InputField f) {
    switch (f) {
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

double* realMember(GearPairInput& in, InputField f) {
    switch (f) {
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

// Users often leave a blank before or after a number; anything else around it is an error.
std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// from_chars takes no plus sign; a lone leading '+' before a digit or point is allowed.
std::string_view withoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

// beyondType: a number, but too large (or, for a real, too small) for the member to hold.
enum class ReadOutcome { ok, unreadable, beyondType };

template <typename T, typename... Format>
ReadOutcome readWhole(std::string_view text, T& value, Format... format) {
    text = withoutPlus(trimmed(text));
    if (text.empty())
        return ReadOutcome::unreadable;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, format...);
    if (ptr != end)
        return ReadOutcome::unreadable;
    if (ec == std::errc::result_out_of_range)
        return ReadOutcome::beyondType;
    return ec == std::errc() ? ReadOutcome::ok : ReadOutcome::unreadable;
}

std::string bound(double v) {
    std::string text;
    appendReal(text, v, 15);
    return text;
}

std::string quoted(const EntryField& entry) {
    return "Feld \"" + std::string(entry.name) + "\": ";
}

std::string notANumberMessage(const EntryField& entry) {
    if (entry.type == FieldType::integer)
        return quoted(entry) + "Bitte eine ganze Zahl eingeben.";
    return quoted(entry) + "Bitte eine Zahl eingeben (mit Dezimalpunkt, z. B. 8.5).";
}

std::string rangeMessage(const EntryField& entry, double min, double max) {
    const char* kind = entry.type == FieldType::integer ? "eine ganze Zahl" : "eine Zahl";
    return quoted(entry) + "Bitte " + kind + " zwischen " + bound(min) + " und " + bound(max) +
           " eingeben.";
}

// The range the message names when a text does not fit the member's type at all.
std::string beyondTypeMessage(const EntryField& entry) {
    if (entry.checked)
        return rangeMessage(entry, entry.min, entry.max);
    return rangeMessage(entry, std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max());
}

// Reads one field into its member; the message when it fails.
std::optional<std::string> exchangeOne(const EntryField& entry, std::string_view text,
                                       GearPairInput& input) {
    double value = 0;
    if (entry.type == FieldType::integer) {
        std::int32_t parsed = 0;
        const ReadOutcome outcome = readWhole(text, parsed);
        if (outcome == ReadOutcome::unreadable)
            return notANumberMessage(entry);
        if (outcome == ReadOutcome::beyondType)
            return beyondTypeMessage(entry);
        *integerMember(input, entry.field) = parsed;
        value = parsed;
    } else {
        double parsed = 0;
        const ReadOutcome outcome = readWhole(text, parsed, std::chars_format::general);
        // "nan" and "inf" parse, but they are no values a user means to enter.
        if (outcome == ReadOutcome::unreadable ||
            (outcome == ReadOutcome::ok && !std::isfinite(parsed)))
            return notANumberMessage(entry);
        if (outcome == ReadOutcome::beyondType)
            return beyondTypeMessage(entry);
        *realMember(input, entry.field) = parsed;
        value = parsed;
    }
    // The value is kept even when its range check fails, as a checked exchange stores first.
    if (entry.checked && (value < entry.min || value > entry.max))
        return rangeMessage(entry, entry.min, entry.max);
    return std::nullopt;
}

}  // namespace

FieldTexts formatFields(const GearPairInput& input) {
    FieldTexts texts;
    GearPairInput copy = input;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const EntryField& entry = kExchangeFields[i];
        if (entry.type == FieldType::integer)
            texts[i] = std::to_string(*integerMember(copy, entry.field));
        else
            appendReal(texts[i], *realMember(copy, entry.field), 15);
    }
    return texts;
}

std::optional<ExchangeError> exchangeFields(const FieldTexts& texts, GearPairInput& input) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (auto message = exchangeOne(kExchangeFields[i], texts[i], input))
            return ExchangeError{i, std::move(*message)};
    }
    return std::nullopt;
}

}  // namespace kellvor
