#include "preview/png_codec.h"

#include <png.h>

namespace kellvor {

std::optional<std::vector<std::uint8_t>> encodePng(const RgbImage& image, std::string& error) {
    if (image.width < 1 || image.height < 1) {
        error = "leeres Bild";
        return std::nullopt;
    }
    // libpng's simplified interface keeps its error handling (setjmp/longjmp) inside libpng, so
    // no jump crosses our frames.
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    const auto stride = static_cast<png_int_32>(image.width) * 3;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.rgb.data(), stride, nullptr)) {
        error = std::string("PNG: ") + png.message;
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.rgb.data(), stride,
                                   nullptr)) {
        error = std::string("PNG: ") + png.message;
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

std::optional<RgbImage> decodePng(std::span<const std::uint8_t> bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    RgbImage image;
    image.width = static_cast<std::int32_t>(png.width);
    image.height = static_cast<std::int32_t>(png.height);
    image.rgb.resize(static_cast<std::size_t>(png.width) * png.height * 3);
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

}  // namespace kellvor
