// PNG encoding of preview pictures (8-bit RGB, through libpng) and the safe file write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/preview_raster.h"

namespace kellvor {

// The PNG bytes of image; nothing, with a German reason in error, when it is empty or libpng
// fails.
std::optional<std::vector<std::uint8_t>> encodePng(const RgbImage& image, std::string& error);

// Decodes PNG bytes into an 8-bit RGB image (any PNG colour type is converted); nothing when the
// bytes are not a readable PNG.
std::optional<RgbImage> decodePng(std::span<const std::uint8_t> bytes);

// Writes image as a PNG file: into a temporary file beside path, renamed over path only when
// complete. False, with error naming the file and the reason, leaves an existing file unchanged.
bool writePngFile(const RgbImage& image, const std::filesystem::path& path, std::string& error);

}  // namespace kellvor
