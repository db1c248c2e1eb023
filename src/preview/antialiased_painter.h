// Antialiased strokes for pictures of several colours (the pair): lines and arcs one pixel wide,
// each stroke's coverage kept per pixel as the largest of its parts and laid over the picture
// once, so that the joints of a long polyline do not darken.
#pragma once

#include <cstdint>
#include <vector>

#include "outline/point.h"
#include "preview/preview_raster.h"

namespace kellvor {

// Paints strokes into an image in device pixels: x right, y down, pixel centres on integers.
// The work of each part is bounded by the image size, whatever its coordinates.
class AntialiasedPainter {
  public:
    // Paints into image, which must outlive the painter.
    explicit AntialiasedPainter(RgbImage& image);

    // Starts a stroke of the given colour.
    void beginStroke(Rgb colour);
    // Adds the segment from a to b to the stroke.
    void line(Point2 a, Point2 b);
    // Adds the arc of the circle (centre, radius) from the direction start (radians, measured
    // from +x toward +y, i.e. clockwise on the screen) over sweep (>= 0, 2 pi for the circle).
    void arc(Point2 centre, double radius, double start, double sweep);
    // Lays the stroke over the image: each pixel blends toward the colour by its coverage.
    void endStroke();

  private:
    void cover(std::int64_t x, std::int64_t y, double coverage);

    RgbImage& m_image;
    std::vector<std::uint8_t> m_coverage;  // 0 .. 255 per pixel of the current stroke
    Rgb m_colour;
    std::int64_t m_minX = 0, m_minY = 0, m_maxX = -1, m_maxY = -1;  // touched box
};

}  // namespace kellvor
