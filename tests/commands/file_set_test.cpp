// The file command's set in its folder: recovery first, the lock, the optional files of an
// earlier run, the last question before the switch, runs without threads and without memory.
#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <sstream>
#include <string>

#include "commands/file_command.h"
#include "geometry/geometry_report.h"
#include "output/commit_record.h"
#include "output/file_names.h"
#include "output/output_folder.h"
#include "output/output_test_util.h"
#include "support/golden.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;
using test::FolderContents;

const FolderContents kEarlier = {{kReportFileName, "earlier report\n"},
                                 {kTraceFileName, "earlier trace\n"},
                                 {kDrawingFileName, "earlier drawing\n"}};

// About 18 MB of drawing and 2.6 MB of trace: several blocks each.
const GearPairInput kMidSize{300, 40, 2.0, 20.0, 10.0, 0.2, 0.0, 200};

// The three files the file command writes for input, made in memory.
FolderContents expectedSet(const GearPairInput& input) {
    const GearPairGeometry g = computeGearPairGeometry(input);
    const test::WrittenOutline outline =
        test::writeOutline(buildFlankProfile(g, input.x1, input.segmentCount), g, input.z1);
    return {{kReportFileName, formatGeometryReport(input, g)},
            {kTraceFileName, outline.trace},
            {kDrawingFileName, outline.drawing}};
}

// A dead run committed its switch: its record and temporaries are finished first, its other
// helpers go, and then this run's set replaces everything; the console says what was done.
TEST(FileSet, RecoversBeforeItsOwnWork) {
    test::TempFolder dir;
    test::writeContents(dir.path(), kEarlier);
    const std::string tmp = helperName(HelperKind::temporary, kJsonFileName, 1);
    const std::string old = helperName(HelperKind::backup, kDrawingFileName, 2);
    test::writeContents(dir.path(), {{tmp, "{}\n"},
                                     {old, "earlier drawing\n"},
                                     {helperName(HelperKind::temporary, kTraceFileName, 3), "ha"}});
    test::writeTextFile(dir.path() / helperName(HelperKind::record, {}, 4),
                        formatCommitRecord({SwitchDirection::forward, {{kJsonFileName, tmp, ""}}}));
    std::ostringstream console;
    const CommandResult r = runFileCommand(test::spurExample(), dir.path(), console);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(test::folderContents(dir.path()) == expectedSet(test::spurExample()));
    EXPECT_EQ(console.str(),
              "n: 10\nIn \"" + dir.path().string() +
                  "\": Wechsel eines abgebrochenen Laufs abgeschlossen (1 Datei an ihren Platz "
                  "gebracht). Übrig gebliebene Hilfsdateien abgebrochener Läufe entfernt: 3.\n"
                  "DXF-Datei wird geschrieben...\n");
}

// Files of the set that this run does not write describe another gear: the switch removes
// them. A folder of such a name is not Kellvor's and stays.
TEST(FileSet, RemovesOptionalFilesOfAnEarlierRun) {
    test::TempFolder dir;
    test::writeContents(dir.path(), kEarlier);
    for (std::size_t k = kAlwaysWrittenCount; k < kSetFileNames.size(); ++k)
        test::writeTextFile(dir.path() / kSetFileNames[k], "earlier optional file\n");
    fs::remove(dir.path() / kSvgFileName);
    fs::create_directory(dir.path() / kSvgFileName);
    std::ostringstream console;
    ASSERT_TRUE(runFileCommand(test::spurExample(), dir.path(), console).ok());
    FolderContents expected = expectedSet(test::spurExample());
    expected[kSvgFileName] = "<folder>";
    EXPECT_TRUE(test::folderContents(dir.path()) == expected);
}

// While another run holds the folder the command asks progress with 0 of 0; false stops it.
// Asked once more after the last tooth, false still stops it with nothing changed.
TEST(FileSet, WaitAndLastQuestionGoThroughProgress) {
    test::TempFolder dir;
    test::writeContents(dir.path(), kEarlier);
    for (const bool otherRunHoldsTheFolder : {true, false}) {
        std::optional<OutputFolder> other;
        if (otherRunHoldsTheFolder) {
            other.emplace(dir.path());
            ASSERT_EQ(other->lock({}), LockStatus::locked);
        }
        int zeroCalls = 0;
        std::int64_t teeth = 0;
        std::ostringstream console;
        const CommandResult r = runFileCommand(
            test::spurExample(), dir.path(), console, [&](std::int64_t done, std::int64_t total) {
                if (total != 0) {
                    teeth = done;
                    return true;
                }
                return ++zeroCalls < (otherRunHoldsTheFolder ? 3 : 1);
            });
        EXPECT_EQ(r.status, CommandStatus::cancelled) << r.message;
        EXPECT_EQ(r.message, "Abgebrochen. Es wurde keine Datei geändert.");
        EXPECT_EQ(zeroCalls, otherRunHoldsTheFolder ? 3 : 1);
        EXPECT_EQ(teeth, otherRunHoldsTheFolder ? 0 : 20);
        EXPECT_EQ(test::folderContents(dir.path()), kEarlier);
    }
}

// Where no thread can be started the writers run on the command's thread: the same bytes.
TEST(FileSet, WithoutThreadsTheSameFiles) {
    test::TempFolder dir;
    std::ostringstream console;
    CommandSeams seams;
    seams.withoutThreads = true;
    ASSERT_TRUE(runFileCommand(kMidSize, dir.path(), console, {}, seams).ok());
    EXPECT_TRUE(test::folderContents(dir.path()) == expectedSet(kMidSize));
}

// Passes bytes on until the call numbered throwAt, which throws as a failed allocation does.
class ThrowingForwarder final : public ByteSink {
  public:
    ThrowingForwarder(ByteSink& target, int throwAt) : m_target(target), m_left(throwAt) {}
    bool write(const char* data, std::size_t size) override {
        if (m_left-- == 0)
            throw std::bad_alloc();
        return m_target.write(data, size);
    }
    std::error_code error() const override { return m_target.error(); }

  private:
    ByteSink& m_target;
    int m_left;
};

// A failed allocation on the command's thread (the report), the trace relay's thread or the
// background writer's thread (the drawing): a message, exit code 1, nothing left behind.
TEST(FileSet, AFailedAllocationOnAnyThreadEndsTheCommand) {
    test::TempFolder dir;
    test::writeContents(dir.path(), kEarlier);
    const std::pair<const char*, int> cases[] = {{kReportFileName, 0},
                                                 {kTraceFileName, 0},
                                                 {kTraceFileName, 1},
                                                 {kDrawingFileName, 0},
                                                 {kDrawingFileName, 2}};
    for (const auto& [name, call] : cases) {
        const std::string file = name;
        const int throwAt = call;
        CommandSeams seams;
        seams.wrap = [&](const std::string& n, ByteSink& sink) -> std::unique_ptr<ByteSink> {
            return std::make_unique<ThrowingForwarder>(sink, n == file ? throwAt : -1);
        };
        std::ostringstream console;
        const CommandResult r = runFileCommand(kMidSize, dir.path(), console, {}, seams);
        const std::string where = file + " at call " + std::to_string(throwAt);
        EXPECT_EQ(r.status, CommandStatus::fileError) << where;
        EXPECT_EQ(r.message, "Nicht genug Arbeitsspeicher. Es wurde keine Datei geändert.")
            << where;
        EXPECT_TRUE(test::folderContents(dir.path()) == kEarlier) << where;
    }
}

}  // namespace
}  // namespace kellvor
