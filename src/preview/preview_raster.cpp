#include "preview/preview_raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace kellvor {
namespace {

// Products of two 33-bit pixel distances need more than 64 bits (used once per line).
__extension__ typedef __int128 WideInt;

// A pixel's direction from an arc's centre with y turned upwards, so that counter-clockwise on
// the screen is the mathematical positive sense.
struct Direction {
    double x = 0;
    double y = 0;
};

double cross(Direction a, Direction b) {
    return a.x * b.y - a.y * b.x;
}

double dot(Direction a, Direction b) {
    return a.x * b.x + a.y * b.y;
}

// The angular part of an arc: the sweep counter-clockwise (on the screen) from the start ray to
// the end ray. Equal rays give the whole ellipse; a ray through the centre itself points to +x.
class Sweep {
  public:
    Sweep(Direction start, Direction end) : m_start(nonZero(start)), m_end(nonZero(end)) {
        const double c = cross(m_start, m_end);
        if (c > 0)
            m_shape = Shape::lessThanHalf;
        else if (c < 0)
            m_shape = Shape::moreThanHalf;
        else
            m_shape = dot(m_start, m_end) > 0 ? Shape::whole : Shape::halfTurn;
    }

    // Both bounding rays belong to the sweep.
    bool contains(Direction p) const {
        switch (m_shape) {
            case Shape::whole:
                return true;
            case Shape::halfTurn:
                return cross(m_start, p) >= 0;
            case Shape::lessThanHalf:
                return cross(m_start, p) >= 0 && cross(p, m_end) >= 0;
            case Shape::moreThanHalf:
                break;
        }
        // Everything but the open sweep from the end ray on to the start ray.
        return !(cross(m_end, p) > 0 && cross(p, m_start) > 0);
    }

  private:
    enum class Shape { whole, halfTurn, lessThanHalf, moreThanHalf };

    static Direction nonZero(Direction d) { return d.x == 0 && d.y == 0 ? Direction{1, 0} : d; }

    Direction m_start;
    Direction m_end;
    Shape m_shape = Shape::whole;
};

// Half the chord of an ellipse with semi-axes (along, across) at distance d from its centre
// along the first axis; zero outside the ellipse.
double halfChord(double d, double along, double across) {
    if (along == 0)
        return d == 0 ? across : 0;
    const double t = d / along;
    return across * std::sqrt(std::max(0.0, 1 - t * t));
}

// The nearest pixel of a coordinate (ties upwards).
std::int64_t nearestPixel(double v) {
    return toPixel(std::floor(v + 0.5));
}

}  // namespace

RgbImage makeRgbImage(std::int32_t width, std::int32_t height, Rgb colour) {
    RgbImage image;
    if (width < 1 || height < 1)
        return image;
    image.width = width;
    image.height = height;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    image.rgb.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        image.rgb[3 * i] = colour.r;
        image.rgb[3 * i + 1] = colour.g;
        image.rgb[3 * i + 2] = colour.b;
    }
    return image;
}

Rgb pixelAt(const RgbImage& image, std::int32_t x, std::int32_t y) {
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                               static_cast<std::size_t>(x));
    return {image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

RasterPainter::RasterPainter(RgbImage& image) : m_image(image) {}

void RasterPainter::paint(const DrawOp& op) {
    const auto& a = op.args;
    switch (op.kind) {
        case DrawOpKind::rectangle:
            rectangle(a[0], a[1], a[2], a[3]);
            break;
        case DrawOpKind::moveTo:
            m_x = a[0];
            m_y = a[1];
            break;
        case DrawOpKind::lineTo:
            lineTo(a[0], a[1]);
            break;
        case DrawOpKind::arc:
            arc(op);
            break;
    }
}

void RasterPainter::plot(std::int64_t x, std::int64_t y, Rgb colour) {
    if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height)
        return;
    const std::size_t i =
        3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_image.width) +
             static_cast<std::size_t>(x));
    m_image.rgb[i] = colour.r;
    m_image.rgb[i + 1] = colour.g;
    m_image.rgb[i + 2] = colour.b;
}

void RasterPainter::rectangle(std::int64_t left, std::int64_t top, std::int64_t right,
                              std::int64_t bottom) {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left == right || top == bottom)
        return;
    // Right column and bottom row are outside; only the part inside the image is visited.
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(right - 1, m_image.width - 1);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(bottom - 1, m_image.height - 1);
    for (std::int64_t y = y0; y <= y1; ++y)
        for (std::int64_t x = x0; x <= x1; ++x)
            plot(x, y,
                 y == top || y == bottom - 1 || x == left || x == right - 1 ? kPreviewPen
                                                                            : kPreviewBrush);
}

// Bresenham's line along its major axis: step i (0 <= i < L, L the longer of |dx| and |dy|) sets
// the major coordinate start + i and the minor coordinate start + the nearest integer to
// i * S / L (S the shorter extent), a tie rounded toward the start. Step L, the end pixel, is not
// drawn. Only the steps whose major coordinate lies inside the image are visited, so a line that
// reaches far outside costs no more than one across the image; its pixels are the same as those
// of the unclipped line.
void RasterPainter::lineTo(std::int64_t x, std::int64_t y) {
    const std::int64_t x0 = m_x;
    const std::int64_t y0 = m_y;
    m_x = x;
    m_y = y;
    const std::int64_t dx = x - x0;
    const std::int64_t dy = y - y0;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t length = std::max(std::abs(dx), std::abs(dy));
    const std::int64_t shorter = std::min(std::abs(dx), std::abs(dy));
    const std::int64_t majorLimit = xMajor ? m_image.width : m_image.height;

    std::int64_t first = majorStep > 0 ? -major0 : major0 - (majorLimit - 1);
    std::int64_t last = majorStep > 0 ? majorLimit - 1 - major0 : major0;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, length - 1);
    if (first > last)
        return;

    // Minor offset at step i: floor((2 i S + L - 1) / 2L), the nearest integer with ties down.
    const WideInt twoL = WideInt{2} * length;
    const WideInt a = WideInt{2} * first * shorter + length - 1;
    auto offset = static_cast<std::int64_t>(a / twoL);
    auto remainder = static_cast<std::int64_t>(a % twoL);
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = major0 + majorStep * i;
        const std::int64_t minor = minor0 + minorStep * offset;
        if (xMajor)
            plot(major, minor, kPreviewPen);
        else
            plot(minor, major, kPreviewPen);
        remainder += 2 * shorter;
        if (remainder >= 2 * length) {
            remainder -= 2 * length;
            ++offset;
        }
    }
}

// The ellipse is sampled once per column (its upper and lower point) and once per row (its left
// and right point), each rounded to the nearest pixel: the union is a gap-free curve one pixel
// wide. Only columns and rows inside the image are sampled, so a huge ellipse costs no more than
// the image's width plus height. Each sampled pixel is kept when its direction from the centre
// lies in the sweep.
void RasterPainter::arc(const DrawOp& op) {
    double left = op.args[0];
    double top = op.args[1];
    double right = op.args[2];
    double bottom = op.args[3];
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double rx = (right - left) / 2;
    const double ry = (bottom - top) / 2;
    const auto direction = [&](double px, double py) { return Direction{px - cx, cy - py}; };
    const Sweep sweep(direction(op.args[4], op.args[5]), direction(op.args[6], op.args[7]));
    const auto plotIfInSweep = [&](std::int64_t x, std::int64_t y) {
        if (x >= 0 && y >= 0 && x < m_image.width && y < m_image.height &&
            sweep.contains(direction(static_cast<double>(x), static_cast<double>(y))))
            plot(x, y, kPreviewPen);
    };

    const double xFirst = std::max(0.0, std::ceil(cx - rx));
    const double xLast = std::min(static_cast<double>(m_image.width - 1), std::floor(cx + rx));
    if (xFirst <= xLast) {
        for (std::int64_t x = toPixel(xFirst); x <= toPixel(xLast); ++x) {
            const double h = halfChord(static_cast<double>(x) - cx, rx, ry);
            plotIfInSweep(x, nearestPixel(cy - h));
            plotIfInSweep(x, nearestPixel(cy + h));
        }
    }
    const double yFirst = std::max(0.0, std::ceil(cy - ry));
    const double yLast = std::min(static_cast<double>(m_image.height - 1), std::floor(cy + ry));
    if (yFirst <= yLast) {
        for (std::int64_t y = toPixel(yFirst); y <= toPixel(yLast); ++y) {
            const double w = halfChord(static_cast<double>(y) - cy, ry, rx);
            plotIfInSweep(nearestPixel(cx - w), y);
            plotIfInSweep(nearestPixel(cx + w), y);
        }
    }
}

void paintDrawing(const PreviewDrawing& drawing, RgbImage& image) {
    RasterPainter painter(image);
    for (const DrawOp& op : drawing.ops)
        painter.paint(op);
}

}  // namespace kellvor
