#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "commands/preview_command.h"
#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "geometry/input_validation.h"
#include "outline/flank_profile.h"
#include "outline/root_arc.h"
#include "preview/memory_budget.h"
#include "preview/preview_drawing.h"
#include "preview/preview_raster.h"
#include "support/golden.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

// FNV-1a over the pixel bytes, as 16 hex digits: a short fingerprint of a whole picture.
std::string pixelChecksum(const RgbImage& image) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : image.rgb) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

TEST(RunPreviewCommand, InitialValuesMatchTheGoldenDrawing) {
    const GearPairInput input;
    std::ostringstream console;
    const PreviewResult preview = runPreviewCommand(input, 208, 194, console);
    ASSERT_EQ(preview.result.status, CommandStatus::ok) << preview.result.message;
    EXPECT_EQ(console.str(), "n: 22\n");
    ASSERT_EQ(preview.image.width, 208);
    ASSERT_EQ(preview.image.height, 194);

    // The same operations, collected, paint the same picture.
    const GearPairGeometry geometry = computeGearPairGeometry(input);
    const FlankProfile profile = buildFlankProfile(geometry, input.x1, input.segmentCount);
    const std::optional<RootArc> arc = fitRootArc(profile, geometry.rf1, input.z1);
    ASSERT_TRUE(arc);
    const PreviewDrawing drawing = buildPreviewDrawing(profile, *arc, input.z1, {0, 0, 208, 194});
    RgbImage painted = makeRgbImage(208, 194);
    paintDrawing(drawing, painted);
    EXPECT_EQ(painted.rgb, preview.image.rgb);

    std::ostringstream golden;
    for (const DrawOp& op : drawing.ops)
        golden << op << '\n';
    golden << "pixels fnv1a64 " << pixelChecksum(preview.image) << '\n';
    test::expectMatchesGolden("preview_initial_ops.txt", golden.str());
}

TEST(RunPreviewCommand, OutOfRangeDrawsAndPrintsNothing) {
    GearPairInput input;
    input.x1 = 0.7;
    std::ostringstream console;
    const PreviewResult preview = runPreviewCommand(input, 208, 194, console);
    EXPECT_EQ(preview.result.status, CommandStatus::outOfRange);
    ASSERT_TRUE(preview.result.violation);
    EXPECT_EQ(preview.result.violation->field, InputField::x1);
    EXPECT_EQ(preview.result.message, std::string(kRangeWarningText) + "\n" +
                                          describeRangeViolation(*preview.result.violation));
    EXPECT_EQ(console.str(), "");
    EXPECT_TRUE(preview.image.rgb.empty());
}

// No valid input makes the fit fail; a fit that finds no circle ends the command all the same,
// with its message, before anything is drawn.
TEST(RunPreviewCommand, FailedFitDrawsNothing) {
    std::ostringstream console;
    const PreviewResult preview =
        runPreviewCommand(GearPairInput{}, 208, 194, console, {},
                          [](const FlankProfile&, double, std::int32_t) { return std::nullopt; });
    EXPECT_EQ(preview.result.status, CommandStatus::fitFailed);
    EXPECT_EQ(preview.result.message,
              "Der Kreis, der die Zahnlücken schließt, lässt sich für diese Werte nicht "
              "bestimmen. Es wurde nichts gezeichnet.");
    EXPECT_EQ(console.str(), "n: 22\n");
    EXPECT_TRUE(preview.image.rgb.empty());
}

TEST(RunPreviewCommand, CancelledByProgressKeepsNoPicture) {
    const GearPairInput input;
    std::ostringstream console;
    std::int64_t calls = 0;
    const PreviewResult preview =
        runPreviewCommand(input, 208, 194, console, [&](std::int64_t done, std::int64_t total) {
            ++calls;
            EXPECT_EQ(total, 34);
            return done < 20;
        });
    EXPECT_EQ(preview.result.status, CommandStatus::cancelled);
    EXPECT_FALSE(preview.result.message.empty());
    EXPECT_TRUE(preview.image.rgb.empty());
    EXPECT_EQ(calls, 20);
}

TEST(RunPreviewCommand, ManyTeethStream) {
    // 200000 teeth of 22 points: 4.6 million operations, none of them held.
    GearPairInput input;
    input.z1 = 200000;
    std::ostringstream console;
    std::int64_t last = 0;
    const PreviewResult preview =
        runPreviewCommand(input, 208, 194, console, [&](std::int64_t done, std::int64_t total) {
            EXPECT_EQ(total, 400000);
            last = done;
            return true;
        });
    ASSERT_EQ(preview.result.status, CommandStatus::ok);
    EXPECT_EQ(last, 400000);
    EXPECT_EQ(console.str(), "n: 22\n");
    // The whole gear fills the frame: its rim is blue where the centre line of the frame meets
    // it, the centre stays white.
    EXPECT_EQ(pixelAt(preview.image, 104, 97), kPreviewBrush);
    std::int64_t blue = 0;
    for (std::int32_t x = 1; x < 207; ++x)
        blue += pixelAt(preview.image, x, 97) == kPreviewPen;
    EXPECT_GE(blue, 2);
}

TEST(RunPreviewCommand, SizeFollowsTheArguments) {
    const GearPairInput input;
    std::ostringstream console;
    const PreviewResult preview = runPreviewCommand(input, 31, 17, console);
    ASSERT_EQ(preview.result.status, CommandStatus::ok);
    EXPECT_EQ(preview.image.width, 31);
    EXPECT_EQ(preview.image.height, 17);
    EXPECT_EQ(preview.image.rgb.size(), 31u * 17u * 3u);
    // The background frame runs round the edge.
    EXPECT_EQ(pixelAt(preview.image, 0, 0), kPreviewPen);
    EXPECT_EQ(pixelAt(preview.image, 30, 16), kPreviewPen);
}

// The largest picture needs 1.2 GB; under an address-space limit well below that the command
// says so before it allocates, and the picture it would have drawn at a small size still comes.
// The sanitizers reserve terabytes of address space and cannot run under such a limit.
TEST(RunPreviewCommand, APictureLargerThanTheMemoryLeftIsRefused) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer cannot run under an address-space limit";
#else
    EXPECT_EQ(previewMemoryBytes(16384, 16384), 1207959552u);
    const int status = test::inChildProcess([] {
        // 300 MB beside what the test program has mapped already (thread stacks and arenas of
        // earlier tests among it).
        std::ifstream statm("/proc/self/statm");
        rlim_t pages = 0;
        statm >> pages;
        const rlim_t room = 300000000;
        const rlim_t mapped = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
        const rlimit limit{mapped + room, mapped + room};
        ::setrlimit(RLIMIT_AS, &limit);
        const auto available = allocatableBytes();
        if (!available || *available > room)
            return 10;
        std::ostringstream console;
        const PreviewResult big = runPreviewCommand(GearPairInput{}, 16384, 16384, console);
        if (big.result.status != CommandStatus::fileError || !big.image.rgb.empty() ||
            big.result.message.find("Für ein Bild von 16384 × 16384 Pixeln reicht der "
                                    "Arbeitsspeicher nicht: benötigt 1208 MB") != 0)
            return 11;
        return runPreviewCommand(GearPairInput{}, 2000, 2000, console).result.ok() ? 0 : 12;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
}

}  // namespace
}  // namespace kellvor
