// A small RGB raster and the painting of preview drawing operations into it.
#pragma once

#include <cstdint>
#include <vector>

#include "preview/preview_drawing.h"

namespace kellvor {

// An 8-bit RGB image, rows top to bottom, three bytes per pixel.
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
};

// One 8-bit RGB colour.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Colour of the preview pen: the frame, the lines and the arcs.
inline constexpr Rgb kPreviewPen{0, 0, 255};
// Colour of the preview brush: the inside of the background rectangle.
inline constexpr Rgb kPreviewBrush{255, 255, 255};

// A width x height image filled with colour; a size below 1 gives an empty image.
RgbImage makeRgbImage(std::int32_t width, std::int32_t height, Rgb colour = Rgb{});

// The colour at (x, y); (x, y) must lie inside the image.
Rgb pixelAt(const RgbImage& image, std::int32_t x, std::int32_t y);

// Paints drawing operations into an image in their order, clipping everything to the image.
// Pixel centres sit on integer coordinates. The work of each operation is bounded by the image
// size, whatever its coordinates.
class RasterPainter {
  public:
    // Paints into image, which must outlive the painter. The current position starts at (0, 0).
    explicit RasterPainter(RgbImage& image);

    // Paints one operation: see DrawOpKind for the meaning of each.
    void paint(const DrawOp& op);

  private:
    void rectangle(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
    void lineTo(std::int64_t x, std::int64_t y);
    void arc(const DrawOp& op);
    void plot(std::int64_t x, std::int64_t y, Rgb colour);

    RgbImage& m_image;
    std::int64_t m_x = 0;
    std::int64_t m_y = 0;
};

// Paints every operation of drawing into image.
void paintDrawing(const PreviewDrawing& drawing, RgbImage& image);

}  // namespace kellvor
