#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "commands/preview_command.h"
#include "geometry/input_validation.h"
#include "preview/png_codec.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

std::optional<RgbImage> readPng(const fs::path& path) {
    const std::string bytes = test::readFileBytes(path.string());
    return decodePng({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// Compares the picture pixel for pixel with the reference picture of that name, so a different
// zlib does not matter; on a difference the picture is kept beside it as .actual. With
// KELLVOR_REGENERATE_GOLDEN=1 the reference is rewritten instead.
void expectPictureMatchesGolden(const fs::path& png, std::string_view name) {
    const std::string goldenPng = test::goldenPath(name);
    const char* regenerate = std::getenv("KELLVOR_REGENERATE_GOLDEN");
    if (regenerate != nullptr && std::string_view(regenerate) == "1") {
        fs::copy_file(png, goldenPng, fs::copy_options::overwrite_existing);
        return;
    }
    const std::optional<RgbImage> golden = readPng(goldenPng);
    const std::optional<RgbImage> written = readPng(png);
    ASSERT_TRUE(golden) << goldenPng;
    ASSERT_TRUE(written) << png;
    if (golden->rgb != written->rgb) {
        fs::copy_file(png, goldenPng + ".actual", fs::copy_options::overwrite_existing);
        ADD_FAILURE() << "picture differs from " << goldenPng << " (written to .actual)";
    }
}

// A fresh empty folder for the files of one test.
class PreviewCli : public testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("kellvor_preview_" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    int run(std::vector<std::string> args) {
        m_out.str("");
        m_err.str("");
        const std::vector<std::string_view> views(args.begin(), args.end());
        return runCli(views, m_out, m_err);
    }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(PreviewCli, WritesOnlyThePictureOfTheInitialValues) {
    const fs::path png = m_dir / "preview.png";
    ASSERT_EQ(run({"--preview", png.string(), "--output-dir", m_dir.string()}), kExitSuccess)
        << m_err.str();
    EXPECT_EQ(m_out.str(), "n: 22\n");
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(filesInDir(), 1u);  // no report, drawing or trace, no temporary file

    const std::optional<RgbImage> written = readPng(png);
    ASSERT_TRUE(written);
    std::ostringstream console;
    const PreviewResult expected = runPreviewCommand(GearPairInput{}, 208, 194, console);
    EXPECT_EQ(written->width, 208);
    EXPECT_EQ(written->height, 194);
    EXPECT_EQ(written->rgb, expected.image.rgb);
    expectPictureMatchesGolden(png, "preview_initial.png");
}

// The pair drawn antialiased at its centre distance, y up: gear 1 (blue) below gear 2 (red),
// compared pixel for pixel with the reference picture.
TEST_F(PreviewCli, PairPictureMatchesTheReference) {
    const fs::path png = m_dir / "pair.png";
    ASSERT_EQ(run({"--preview", png.string(), "--pair", "--preview-size", "240x320", "--backlash",
                   "0.4"}),
              kExitSuccess)
        << m_err.str();
    EXPECT_EQ(m_out.str(), "n: 22\n");
    EXPECT_EQ(filesInDir(), 1u);
    const std::optional<RgbImage> written = readPng(png);
    ASSERT_TRUE(written);
    std::ostringstream console;
    const PreviewResult expected =
        runPreviewCommand(PreviewRequest{GearPairInput{}, 240, 320, 0.4, true}, console);
    EXPECT_EQ(written->rgb, expected.image.rgb);
    double blueY = 0, redY = 0;
    int blue = 0, red = 0;
    for (std::int32_t y = 0; y < written->height; ++y)
        for (std::int32_t x = 0; x < written->width; ++x) {
            const Rgb p = pixelAt(*written, x, y);
            if (p.b == 255 && p.r < 128) {
                blueY += y;
                ++blue;
            } else if (p.r == 255 && p.b < 128) {
                redY += y;
                ++red;
            }
        }
    ASSERT_GT(blue, 0);
    ASSERT_GT(red, 0);
    EXPECT_GT(blueY / blue, redY / red);

    expectPictureMatchesGolden(png, "preview_pair.png");
}

TEST_F(PreviewCli, SizeOption) {
    const fs::path png = m_dir / "small.png";
    ASSERT_EQ(run({"--preview", png.string(), "--preview-size", "64x48", "--z1", "9"}),
              kExitSuccess)
        << m_err.str();
    const std::optional<RgbImage> written = readPng(png);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->width, 64);
    EXPECT_EQ(written->height, 48);
}

TEST_F(PreviewCli, OutOfRangeExitsThreeAndKeepsTheEarlierPicture) {
    const fs::path png = m_dir / "preview.png";
    std::ofstream(png, std::ios::binary) << "earlier picture";
    EXPECT_EQ(run({"--preview", png.string(), "--x1", "0.7"}), kExitOutOfRange);
    EXPECT_EQ(m_out.str(), "");  // not even the "n: " line
    EXPECT_EQ(m_err.str(), std::string(kRangeWarningText) + "\n" +
                               describeRangeViolation(*findRangeViolation([] {
                                   GearPairInput input;
                                   input.x1 = 0.7;
                                   return input;
                               }())) +
                               "\n");
    EXPECT_EQ(test::readFileBytes(png.string()), "earlier picture");
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(PreviewCli, UnwritableTargetExitsOneNamingTheFile) {
    // A regular file stands where the folder should be: fails for root too.
    std::ofstream(m_dir / "not_a_folder") << "x";
    const fs::path png = m_dir / "not_a_folder" / "preview.png";
    EXPECT_EQ(run({"--preview", png.string()}), kExitFileError);
    EXPECT_EQ(m_out.str(), "n: 22\n");
    EXPECT_NE(m_err.str().find(png.string()), std::string::npos) << m_err.str();
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(PreviewCli, TargetThatIsAFolderIsKeptAndNoTemporaryFileStays) {
    const fs::path png = m_dir / "taken";
    fs::create_directories(png / "inside");
    EXPECT_EQ(run({"--preview", png.string()}), kExitFileError);
    EXPECT_NE(m_err.str().find(png.string()), std::string::npos) << m_err.str();
    EXPECT_TRUE(fs::is_directory(png / "inside"));
    EXPECT_EQ(filesInDir(), 1u);
}

}  // namespace
}  // namespace kellvor
