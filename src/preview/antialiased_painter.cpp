#include "preview/antialiased_painter.h"

#include <algorithm>
#include <cmath>

#include "geometry/constants.h"
#include "preview/preview_drawing.h"

namespace kellvor {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// Coverage of a pixel whose centre lies d pixels from the stroke's centre line: a one-pixel
// wide line seen through a tent filter.
double coverageAt(double d) {
    return d < 1 ? 1 - d : 0;
}

double distanceToSegment(double px, double py, Point2 a, Point2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0)
        t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

// The pixels from floor(lo) to ceil(hi), clipped to 0 .. limit - 1; first > last when none.
struct PixelSpan {
    std::int64_t first = 0;
    std::int64_t last = -1;
};

PixelSpan span(double lo, double hi, std::int64_t limit) {
    if (!(hi >= 0) || !(lo <= static_cast<double>(limit - 1)))
        return {};
    return PixelSpan{toPixel(std::max(0.0, std::floor(lo))),
                     toPixel(std::min(static_cast<double>(limit - 1), std::ceil(hi)))};
}

}  // namespace

AntialiasedPainter::AntialiasedPainter(RgbImage& image)
    : m_image(image),
      m_coverage(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {}

void AntialiasedPainter::beginStroke(Rgb colour) {
    m_colour = colour;
    m_minX = m_image.width;
    m_minY = m_image.height;
    m_maxX = -1;
    m_maxY = -1;
}

void AntialiasedPainter::cover(std::int64_t x, std::int64_t y, double coverage) {
    if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height || coverage <= 0)
        return;
    const auto level = static_cast<std::uint8_t>(std::lround(std::min(coverage, 1.0) * 255));
    std::uint8_t& c =
        m_coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_image.width) +
                   static_cast<std::size_t>(x)];
    c = std::max(c, level);
    m_minX = std::min(m_minX, x);
    m_maxX = std::max(m_maxX, x);
    m_minY = std::min(m_minY, y);
    m_maxY = std::max(m_maxY, y);
}

void AntialiasedPainter::line(Point2 a, Point2 b) {
    // Along the longer axis every pixel within one pixel of the line lies at most two pixels
    // off it across; only those of the image are visited.
    const bool xMajor = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
    const double major0 = xMajor ? a.x : a.y;
    const double major1 = xMajor ? b.x : b.y;
    const std::int64_t majorLimit = xMajor ? m_image.width : m_image.height;
    const std::int64_t minorLimit = xMajor ? m_image.height : m_image.width;
    const PixelSpan along =
        span(std::min(major0, major1) - 1, std::max(major0, major1) + 1, majorLimit);
    const double slope =
        major1 != major0 ? ((xMajor ? b.y - a.y : b.x - a.x) / (major1 - major0)) : 0.0;
    const double minor0 = xMajor ? a.y : a.x;
    for (std::int64_t m = along.first; m <= along.last; ++m) {
        const double t =
            std::clamp(static_cast<double>(m), std::min(major0, major1), std::max(major0, major1));
        const double centre = minor0 + (t - major0) * slope;
        const PixelSpan across = span(centre - 2, centre + 2, minorLimit);
        for (std::int64_t n = across.first; n <= across.last; ++n) {
            const double px = static_cast<double>(xMajor ? m : n);
            const double py = static_cast<double>(xMajor ? n : m);
            cover(xMajor ? m : n, xMajor ? n : m, coverageAt(distanceToSegment(px, py, a, b)));
        }
    }
}

void AntialiasedPainter::arc(Point2 centre, double radius, double start, double sweep) {
    const Point2 ends[2] = {
        Point2{centre.x + radius * std::cos(start), centre.y + radius * std::sin(start)},
        Point2{centre.x + radius * std::cos(start + sweep),
               centre.y + radius * std::sin(start + sweep)}};
    const bool whole = sweep >= kTwoPi;
    // Each row meets the ring of pixels within one of the circle in up to two runs.
    const PixelSpan rows = span(centre.y - radius - 1, centre.y + radius + 1, m_image.height);
    for (std::int64_t y = rows.first; y <= rows.last; ++y) {
        const double dy = static_cast<double>(y) - centre.y;
        const double outer = (radius + 1) * (radius + 1) - dy * dy;
        if (outer < 0)
            continue;
        const double inner = (radius - 1) * (radius - 1) - dy * dy;
        const double outerHalf = std::sqrt(outer);
        const double innerHalf = radius > 1 && inner > 0 ? std::sqrt(inner) : 0.0;
        for (const double side : {-1.0, 1.0}) {
            const PixelSpan run =
                span(side < 0 ? centre.x - outerHalf : centre.x + innerHalf,
                     side < 0 ? centre.x - innerHalf : centre.x + outerHalf, m_image.width);
            for (std::int64_t x = run.first; x <= run.last; ++x) {
                const double dx = static_cast<double>(x) - centre.x;
                double d = std::fabs(std::hypot(dx, dy) - radius);
                if (!whole) {
                    // Beyond its ends the arc is as far as its nearer end point.
                    double from = std::atan2(dy, dx) - start;
                    from -= kTwoPi * std::floor(from / kTwoPi);
                    if (from > sweep)
                        d = std::min(std::hypot(static_cast<double>(x) - ends[0].x,
                                                static_cast<double>(y) - ends[0].y),
                                     std::hypot(static_cast<double>(x) - ends[1].x,
                                                static_cast<double>(y) - ends[1].y));
                }
                cover(x, y, coverageAt(d));
            }
        }
    }
}

void AntialiasedPainter::endStroke() {
    for (std::int64_t y = m_minY; y <= m_maxY; ++y) {
        for (std::int64_t x = m_minX; x <= m_maxX; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(m_image.width) +
                static_cast<std::size_t>(x);
            const std::uint32_t c = m_coverage[i];
            if (c == 0)
                continue;
            m_coverage[i] = 0;
            std::uint8_t* px = &m_image.rgb[3 * i];
            const auto mix = [c](std::uint8_t under, std::uint8_t over) {
                return static_cast<std::uint8_t>((under * (255 - c) + over * c + 127) / 255);
            };
            px[0] = mix(px[0], m_colour.r);
            px[1] = mix(px[1], m_colour.g);
            px[2] = mix(px[2], m_colour.b);
        }
    }
    beginStroke(m_colour);
}

}  // namespace kellvor
