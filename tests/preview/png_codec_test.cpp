#include "preview/png_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kellvor {
namespace {

TEST(Png, RoundTripKeepsEveryPixel) {
    RgbImage image = makeRgbImage(3, 2);
    for (std::size_t i = 0; i < image.rgb.size(); ++i)
        image.rgb[i] = static_cast<std::uint8_t>(i * 37);
    std::string error;
    const auto bytes = encodePng(image, error);
    ASSERT_TRUE(bytes) << error;
    const std::optional<RgbImage> back = decodePng(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->rgb, image.rgb);
}

TEST(Png, EmptyImageAndGarbageFail) {
    std::string error;
    EXPECT_FALSE(encodePng(RgbImage{}, error));
    EXPECT_FALSE(error.empty());
    const std::uint8_t garbage[] = {1, 2, 3, 4};
    EXPECT_FALSE(decodePng(garbage));
}

}  // namespace
}  // namespace kellvor
