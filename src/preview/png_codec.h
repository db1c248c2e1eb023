// PNG encoding and decoding of preview pictures (8-bit RGB, through libpng).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "preview/preview_raster.h"

namespace kellvor {

// The PNG bytes of image; nothing, with a German reason in error, when it is empty or libpng
// fails.
std::optional<std::vector<std::uint8_t>> encodePng(const RgbImage& image, std::string& error);

// Decodes PNG bytes into an 8-bit RGB image (any PNG colour type is converted); nothing when the
// bytes are not a readable PNG.
std::optional<RgbImage> decodePng(std::span<const std::uint8_t> bytes);

}  // namespace kellvor
