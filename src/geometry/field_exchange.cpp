#include "geometry/field_exchange.h"

namespace kellvor {
namespace {

// The range a message names when a number does not fit its member's type at all.
ValueRange typeRange(const InputFieldEntry& entry) {
    if (entry.exchanged)
        return *entry.exchanged;
    return ValueRange{-2147483648.0, 2147483647.0};
}

}  // namespace

FieldTexts formatFields(const GearPairInput& input, FieldFormat format) {
    FieldTexts texts;
    GearPairInput copy = input;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const InputFieldEntry& entry = inputFields()[i];
        if (const std::int32_t* value = integerMember(copy, entry.field))
            texts[i] = std::to_string(*value);
        else
            texts[i] = formatBound(*realMember(copy, entry.field), format.mark);
    }
    return texts;
}

std::optional<std::string> exchangeField(std::size_t step, const std::string& text,
                                         GearPairInput& input, FieldFormat format) {
    const InputFieldEntry& entry = inputFields()[step];
    double value = 0;
    NumberError error = NumberError::none;
    if (std::int32_t* member = integerMember(input, entry.field)) {
        const auto parsed = parseInteger(text, format.syntax());
        error = parsed.error;
        if (parsed)
            *member = parsed.value;
        value = parsed.value;
    } else {
        const auto parsed = parseReal(text, format.syntax());
        error = parsed.error;
        if (parsed)
            *realMember(input, entry.field) = parsed.value;
        value = parsed.value;
    }
    if (error == NumberError::unreadable)
        return unreadableMessage(entry, text);
    if (error == NumberError::beyondType)
        return rangeMessage(entry, typeRange(entry), format.mark);
    // The value is kept even when its range check fails, as a checked exchange stores first.
    if (entry.exchanged && !entry.exchanged->contains(value))
        return rangeMessage(entry, *entry.exchanged, format.mark);
    return std::nullopt;
}

std::optional<std::string> checkFieldText(std::size_t step, const std::string& text,
                                          FieldFormat format) {
    GearPairInput input;
    if (auto message = exchangeField(step, text, input, format))
        return message;
    const InputFieldEntry& entry = inputFields()[step];
    if (!entry.allowed.contains(fieldValue(input, entry.field)))
        return rangeMessage(entry, entry.allowed, format.mark);
    return std::nullopt;
}

std::optional<ExchangeError> exchangeFields(const FieldTexts& texts, GearPairInput& input,
                                            FieldFormat format) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (auto message = exchangeField(i, texts[i], input, format))
            return ExchangeError{i, std::move(*message)};
    }
    return std::nullopt;
}

}  // namespace kellvor
