// A small RGB raster and the painting of preview drawing operations into it.
#pragma once

#include <cstdint>
#include <vector>

namespace kellvor {

// An 8-bit RGB image, rows top to bottom, three bytes per pixel.
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
};

}  // namespace kellvor
