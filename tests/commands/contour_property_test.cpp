#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "commands/command_prologue.h"
#include "commands/file_command.h"
#include "commands/preview_command.h"
#include "outline/contour.h"
#include "outline/outline_check.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

// Every small gear of the range, with the extreme and the neutral shifts: either its whole
// contour is one simple closed curve (every pair of lines and arcs tested for a crossing in
// closed form), or the command refuses it before anything is drawn, naming z1, x1 and why.
TEST(DrawnContour, SimpleOrRefusedAcrossSmallGears) {
    std::vector<std::string> refused;
    for (std::int32_t z1 = 4; z1 <= 40; ++z1)
        for (const double x1 : {-0.5, 0.0, 0.5})
            for (const double beta : {0.0, 15.0, 30.0}) {
                const GearPairInput in{z1, 40, 2.0, 20.0, beta, x1, 0.0, 6};
                std::ostringstream console;
                const Prologue p = runPrologue(in, console, "");
                const std::string name =
                    std::to_string(z1) + "/" + std::to_string(x1) + "/" + std::to_string(beta);
                if (!p.gear) {
                    ASSERT_EQ(p.result.status, CommandStatus::notDrawable) << name;
                    EXPECT_NE(p.result.message.find("z1 = " + std::to_string(z1)),
                              std::string::npos);
                    refused.push_back(name);
                    continue;
                }
                const std::vector<ContourElement> contour =
                    outlineElements(p.gear->profile, p.gear->arc, z1, 0, z1);
                const auto crossing = findContourCrossing(contour, 1e-9 * in.mn);
                EXPECT_FALSE(crossing)
                    << name << " elements " << crossing->first << " and " << crossing->second;
                // A pointed tooth ends on its centre line, where its two flanks meet.
                const FlankProfile& f = p.gear->profile;
                const Point2 tip = f.points[static_cast<std::size_t>(f.count() / 2 - 1)];
                if (f.pointed)
                    EXPECT_EQ(tip.x, 0.0) << name;
                else
                    EXPECT_GT(tip.x, 0.0) << name;
            }
    // Only four teeth with the largest negative shift have root arcs that cross; at 30 degrees
    // the larger transverse module keeps the root circle clear (an outside check with shapely
    // agrees: that contour is a valid polygon).
    EXPECT_EQ(refused, (std::vector<std::string>{"4/-0.500000/0.000000", "4/-0.500000/15.000000"}));
}

TEST(DrawnContour, FourPointedTeethAreDrawnWithTheirTipsWhereTheFlanksMeet) {
    std::ostringstream console;
    const Prologue p = runPrologue(GearPairInput{4, 40, 2.0, 20.0, 0.0, 0.5, 0.0, 5}, console, "");
    ASSERT_TRUE(p.gear) << p.result.message;
    EXPECT_TRUE(p.gear->profile.pointed);
    EXPECT_LT(p.gear->profile.tipRadius, p.gear->geometry.ra1);
}

// Crossing root arcs stop both commands with the reason: nothing written, nothing drawn.
TEST(DrawnContour, CrossingRootArcsWriteAndDrawNothing) {
    const GearPairInput in{4, 40, 2.0, 20.0, 0.0, -0.5, 0.0, 6};
    const fs::path dir =
        fs::temp_directory_path() / ("kellvor_contour_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ostringstream console;
    const CommandResult r = runFileCommand(in, dir, console);
    EXPECT_EQ(r.status, CommandStatus::notDrawable);
    EXPECT_EQ(r.message,
              "Für z1 = 4 und x1 = -0.5 lässt sich kein Zahnrad zeichnen: die Fußkreisbögen "
              "benachbarter Zahnlücken schneiden sich, jeder Zahn wäre vom Radkörper abgetrennt "
              "(mehr Zähne oder eine größere Profilverschiebung wählen). Es wurde keine Datei "
              "geändert.");
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
    const PreviewResult preview = runPreviewCommand(in, 100, 100, console);
    EXPECT_EQ(preview.result.status, CommandStatus::notDrawable);
    EXPECT_TRUE(preview.image.rgb.empty());
}

}  // namespace
}  // namespace kellvor
