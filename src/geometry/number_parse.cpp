#include "geometry/number_parse.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace kellvor {
namespace {

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

template <typename T, typename... Format>
ParsedNumber<T> readWhole(std::string_view text, Format... format) {
    ParsedNumber<T> out;
    if (text.empty())
        return out;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out.value, format...);
    if (ptr != end)
        return out;
    if (ec == std::errc::result_out_of_range)
        out.error = NumberError::beyondType;
    else if (ec == std::errc())
        out.error = NumberError::none;
    return out;
}

}  // namespace

ParsedNumber<std::int32_t> parseInteger(std::string_view text, NumberSyntax syntax) {
    if (syntax.blanksAround)
        text = trimmed(text);
    return readWhole<std::int32_t>(withoutPlus(text));
}

ParsedNumber<double> parseReal(std::string_view text, NumberSyntax syntax) {
    if (syntax.blanksAround)
        text = trimmed(text);
    std::string pointed;
    if (syntax.decimalComma && text.find(',') != std::string_view::npos) {
        // One comma and no point is a German decimal separator; anything else stays unreadable.
        const auto comma = text.find(',');
        if (text.find(',', comma + 1) != std::string_view::npos ||
            text.find('.') != std::string_view::npos)
            return {};
        pointed = std::string(text);
        pointed[comma] = '.';
        text = pointed;
    }
    ParsedNumber<double> out = readWhole<double>(withoutPlus(text), std::chars_format::general);
    // "nan" and "inf" parse, but they are no values a user means to enter.
    if (out && !std::isfinite(out.value))
        out.error = NumberError::unreadable;
    return out;
}

}  // namespace kellvor
