#include "geometry/printable.h"

namespace kellvor {
namespace {

void appendEscape(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

}  // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const unsigned char next =
            i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F || c == '\\') {
            appendEscape(out, c);
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 .. U+009F, the C1 controls (CSI among them), encoded in UTF-8.
            appendEscape(out, c);
            appendEscape(out, next);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace kellvor
