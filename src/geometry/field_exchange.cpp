#include "geometry/field_exchange.h"

namespace kellvor {
namespace {

// The range a message names when a number does not fit its member's type at all.
ValueRange typeRange(const InputFieldSpec& spec) {
    if (spec.exchanged)
        return *spec.exchanged;
    return ValueRange{-2147483648.0, 2147483647.0};
}

}  // namespace

FieldTexts formatFields(const GearPairInput& input, FieldFormat format) {
    FieldTexts texts;
    GearPairInput copy = input;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const InputFieldSpec& spec = inputFields()[i];
        if (const std::int32_t* value = integerMember(copy, spec.field))
            texts[i] = std::to_string(*value);
        else
            texts[i] = formatBound(*realMember(copy, spec.field), format.mark);
    }
    return texts;
}

std::optional<std::string> exchangeField(std::size_t step, const std::string& text,
                                         GearPairInput& input, FieldFormat format) {
    const InputFieldSpec& spec = inputFields()[step];
    double value = 0;
    NumberError error = NumberError::none;
    if (std::int32_t* member = integerMember(input, spec.field)) {
        const auto parsed = parseInteger(text, format.syntax());
        error = parsed.error;
        if (parsed)
            *member = parsed.value;
        value = parsed.value;
    } else {
        const auto parsed = parseReal(text, format.syntax());
        error = parsed.error;
        if (parsed)
            *realMember(input, spec.field) = parsed.value;
        value = parsed.value;
    }
    if (error == NumberError::unreadable)
        return unreadableMessage(spec, text);
    if (error == NumberError::beyondType)
        return rangeMessage(spec, typeRange(spec), format.mark);
    // The value is kept even when its range check fails, as a checked exchange stores first.
    if (spec.exchanged && !spec.exchanged->contains(value))
        return rangeMessage(spec, *spec.exchanged, format.mark);
    return std::nullopt;
}

std::optional<std::string> checkFieldText(std::size_t step, const std::string& text,
                                          FieldFormat format) {
    GearPairInput input;
    if (auto message = exchangeField(step, text, input, format))
        return message;
    const InputFieldSpec& spec = inputFields()[step];
    if (!spec.allowed.contains(fieldValue(input, spec.field)))
        return rangeMessage(spec, spec.allowed, format.mark);
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
