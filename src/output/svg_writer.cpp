#include "output/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "geometry/real_format.h"
#include "output/dxf_entity.h"

namespace kellvor {
namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
constexpr std::string_view kFoot = "</svg>\n";
constexpr std::string_view kPathStart = "<path id=\"";
constexpr std::string_view kPathStyle =
    "\" fill=\"none\" stroke=\"#000000\" stroke-linejoin=\"round\" stroke-width=\"";
constexpr std::string_view kPathEnd = " Z\"/>\n";
// Longest text of one coordinate pair with its separators, and of an arc command before it.
constexpr std::uint64_t kPointBytes = 2 * kMaxDrawingRealChars + 4;
constexpr std::uint64_t kArcBytes = 2 * kMaxDrawingRealChars + 16;

// The title as XML character data: the three characters that could end or garble it escaped.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void appendDrawingReal(std::string& text, double v) {
    appendReal(text, v, kDrawingPrecision);
}

}  // namespace

SvgBox gearSvgBox(const FlankProfile& profile) {
    double radius = 0;
    for (const Point2 p : profile.used())
        radius = std::max(radius, std::hypot(p.x, p.y));
    const double r = radius * (1 + kSvgMarginShare);
    return SvgBox{-r, -r, r, r};
}

SvgOutlineWriter::SvgOutlineWriter(ByteSink& sink, BackgroundWriter* background)
    : m_buffer(sink, background) {}

bool SvgOutlineWriter::open(const SvgBox& box, std::string_view title) {
    // One drawing unit is one millimetre: width and height in mm equal the viewBox's size. The
    // viewBox is the box with y flipped, since every point is written as (x, -y).
    const double width = box.maxX - box.minX;
    const double height = box.maxY - box.minY;
    std::string head(kHead);
    appendDrawingReal(head, width);
    head += "mm\" height=\"";
    appendDrawingReal(head, height);
    head += "mm\" viewBox=\"";
    appendDrawingReal(head, box.minX);
    head += ' ';
    appendDrawingReal(head, 0.0 - box.maxY);
    head += ' ';
    appendDrawingReal(head, width);
    head += ' ';
    appendDrawingReal(head, height);
    head += "\">\n<title>";
    head += escaped(title);
    head += "</title>\n";
    m_buffer.append(head);
    return m_buffer.ok();
}

bool SvgOutlineWriter::beginPath(std::string_view id) {
    std::string start(kPathStart);
    start += id;
    start += kPathStyle;
    appendDrawingReal(start, kSvgStrokeWidth);
    start += "\" d=\"";
    m_buffer.append(start);
    m_inPath = true;
    m_hasPoint = false;
    return m_buffer.ok();
}

void SvgOutlineWriter::putPoint(char command, Point2 p) {
    char* out = m_buffer.reserve(kEntityReserve);
    if (command == 'L')
        *out++ = ' ';
    if (command != ' ')
        *out++ = command;
    *out++ = ' ';
    out = formatReal(out, p.x, kDrawingPrecision);
    *out++ = ' ';
    // 0.0 - y keeps a point on the x axis at +0.
    out = formatReal(out, 0.0 - p.y, kDrawingPrecision);
    m_buffer.commit(out);
}

void SvgOutlineWriter::putArc(const PendingArc& arc, Point2 end) {
    // A circle as an ellipse with equal radii; in the written frame (y down) the drawing's
    // clockwise is the positive sweep direction.
    char* out = m_buffer.reserve(kEntityReserve);
    out = put(out, "\nA ");
    out = formatReal(out, arc.radius, kDrawingPrecision);
    *out++ = ' ';
    out = formatReal(out, arc.radius, kDrawingPrecision);
    out = put(out, arc.large ? " 0 1 " : " 0 0 ");
    *out++ = arc.clockwise ? '1' : '0';
    m_buffer.commit(out);
    putPoint(' ', end);
}

bool SvgOutlineWriter::writeTooth(const OutlineTooth& tooth) {
    const auto points = tooth.points();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point2 p = points[i];
        if (!m_hasPoint) {
            putPoint('M', p);
            m_firstPoint = p;
            m_hasPoint = true;
        } else if (i == 0) {
            // The previous tooth's arc ends at this tooth's first point.
            putArc(m_arc, p);
        } else if (p != points[i - 1]) {
            // One L per tooth; the pairs after it repeat the command. The tip of a pointed tooth
            // is one point twice: no element.
            putPoint(i == 1 ? 'L' : ' ', p);
        }
    }
    const double sweep = std::fmod(tooth.arcEndAngle - tooth.arcStartAngle + 720.0, 360.0);
    m_arc = PendingArc{tooth.arcRadius, sweep > 180.0, tooth.arcClockwise};
    return m_buffer.ok();
}

bool SvgOutlineWriter::endPath() {
    if (m_inPath && m_hasPoint)
        putArc(m_arc, m_firstPoint);
    m_buffer.append(kPathEnd);
    m_inPath = false;
    return m_buffer.ok();
}

bool SvgOutlineWriter::close() {
    m_buffer.append(kFoot);
    return m_buffer.finish();
}

std::uint64_t maxSvgBytes(std::int64_t z1, std::int64_t pointCount, std::uint64_t titleBytes) {
    // Head, title (each byte escaped to at most 5), path start and end, foot.
    const std::uint64_t fixed = 1024 + 5 * titleBytes;
    if (z1 <= 0 || pointCount <= 0)
        return fixed;
    const auto teeth = static_cast<std::uint64_t>(z1);
    const auto n = static_cast<std::uint64_t>(pointCount);
    return fixed + teeth * (n * kPointBytes + kArcBytes);
}

}  // namespace kellvor
