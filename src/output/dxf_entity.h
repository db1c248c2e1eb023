// The text pieces of the LINE and ARC entities, shared by the drawing and the trace.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "geometry/real_format.h"
#include "outline/gear_outline.h"

namespace kellvor {

// Handle of the first entity of every drawing.
inline constexpr std::int64_t kFirstHandle = 27;
// Significant digits of the reals of the drawing.
inline constexpr int kDrawingPrecision = 15;
// Significant digits of the reals of the trace.
inline constexpr int kTracePrecision = 6;
// Longest text of a 64-bit decimal handle.
inline constexpr std::size_t kMaxHandleChars = 20;
// Longest text of a real at 15 and at 6 significant digits: sign, digits, point, "e-308".
inline constexpr std::size_t kMaxDrawingRealChars = 22;
inline constexpr std::size_t kMaxTraceRealChars = 13;
// Room reserved for one entity before it is formatted (far more than any entity takes).
inline constexpr std::size_t kEntityReserve = 512;

// Group codes, layer, linetype and colour of every entity, up to the handle's group code.
inline constexpr std::string_view kEntityProperties = "  8\n0\n  6\nCONTINUOUS\n 62\n     7\n  5\n";
inline constexpr std::string_view kLineStart = "0\nLINE\n";
inline constexpr std::string_view kLineToStartX = "\n 10\n";
inline constexpr std::string_view kLineToStartY = "\n20\n";
inline constexpr std::string_view kLineToEndX = "\n 30\n0.0\n 11\n";
inline constexpr std::string_view kLineToEndY = "\n 21\n";
inline constexpr std::string_view kLineEnd = "\n 31\n0.0\n";
inline constexpr std::string_view kArcStart = "0\nARC\n";
inline constexpr std::string_view kArcToCentreX = "\n 10\n";
inline constexpr std::string_view kArcToCentreY = "\n20\n";
inline constexpr std::string_view kArcToRadius = "\n30\n0.0\n 40\n";
inline constexpr std::string_view kArcToStartAngle = "\n50\n";
inline constexpr std::string_view kArcToEndAngle = "\n51\n";
inline constexpr std::string_view kArcEnd = "\n";

// Copies text to p and returns the end.
inline char* put(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// Writes a handle in decimal, without sign or padding.
inline char* putHandle(char* p, std::int64_t handle) {
    return std::to_chars(p, p + kMaxHandleChars, handle).ptr;
}

// Writes the whole ARC entity of the tooth's root arc with the given handle and precision.
inline char* putArc(char* p, std::int64_t handle, const OutlineTooth& t, int precision) {
    p = put(p, kArcStart);
    p = put(p, kEntityProperties);
    p = putHandle(p, handle);
    p = put(p, kArcToCentreX);
    p = formatReal(p, t.arcCentreX, precision);
    p = put(p, kArcToCentreY);
    p = formatReal(p, t.arcCentreY, precision);
    p = put(p, kArcToRadius);
    p = formatReal(p, t.arcRadius, precision);
    p = put(p, kArcToStartAngle);
    p = formatReal(p, t.arcStartAngle, precision);
    p = put(p, kArcToEndAngle);
    p = formatReal(p, t.arcEndAngle, precision);
    return put(p, kArcEnd);
}

// Most bytes an ARC entity takes with handles of at most handleChars digits.
constexpr std::uint64_t maxArcBytes(std::uint64_t handleChars, std::uint64_t realChars) {
    return kArcStart.size() + kEntityProperties.size() + handleChars + kArcToCentreX.size() +
           kArcToCentreY.size() + kArcToRadius.size() + kArcToStartAngle.size() +
           kArcToEndAngle.size() + kArcEnd.size() + 5 * realChars;
}

// Number of decimal digits of a non-negative value.
constexpr std::uint64_t decimalDigits(std::uint64_t v) {
    std::uint64_t n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

}  // namespace kellvor
