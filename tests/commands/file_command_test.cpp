#include "commands/file_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "geometry/backlash.h"
#include "geometry/geometry_report.h"
#include "geometry/measuring_dimensions.h"
#include "output/assembly_writer.h"
#include "output/block_buffer.h"
#include "output/dxf_writer.h"
#include "output/json_report.h"
#include "output/mesh_report.h"
#include "output/output_test_util.h"
#include "output/trace_writer.h"
#include "support/golden.h"
#include "support/printed.h"
#include "support/temp_folder.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

using Snapshot = std::map<std::string, std::string>;

// The files the pair adds to the set.
constexpr const char* kPairFiles[] = {kGear2TraceFileName, kGear2DrawingFileName,
                                      kPairDrawingFileName, kMeshCheckFileName};

// Every entry of a folder: files with their bytes, folders marked as such.
Snapshot snapshot(const fs::path& dir) {
    Snapshot s;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(entry.path(), dir).string();
        s[name] = entry.is_directory() ? "<folder>" : test::readFileBytes(entry.path().string());
    }
    return s;
}

// Names and sizes of a snapshot, for a readable failure message.
std::string describe(const Snapshot& s) {
    std::string text;
    for (const auto& [name, bytes] : s)
        text += name + " (" + std::to_string(bytes.size()) + " bytes)\n";
    return text;
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder per test, holding the files of an earlier run.
class FileCommandFolder : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_dir = fs::temp_directory_path() /
                ("kellvor_output_" + name + "_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void seedEarlierRun() {
        writeFile(m_dir / kReportFileName, "report of an earlier run\n");
        writeFile(m_dir / kTraceFileName, "trace of an earlier run\n");
        writeFile(m_dir / kDrawingFileName, "drawing of an earlier run\n");
    }
    // The files of an earlier run of the pair.
    void seedEarlierPairRun() {
        seedEarlierRun();
        for (const char* name : kPairFiles)
            writeFile(m_dir / name, std::string(name) + " of an earlier run\n");
    }
    std::string file(const char* name) const {
        return test::readFileBytes((m_dir / name).string());
    }

    fs::path m_dir;
    std::ostringstream m_console;
};

TEST_F(FileCommandFolder, SpurExampleWritesThreeFilesAndTwoConsoleLines) {
    const GearPairInput in = test::spurExample();
    const CommandResult r = runFileCommand(in, m_dir, m_console);
    ASSERT_EQ(r.status, CommandStatus::ok) << r.message;
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(m_console.str(), "n: 10\nDXF-Datei wird geschrieben...\n");
    EXPECT_EQ(snapshot(m_dir).size(), 3u);

    EXPECT_EQ(file(kReportFileName), formatGeometryReport(in, computeGearPairGeometry(in)));
    test::expectMatchesGolden("dxf_spur_example.dxf", file(kDrawingFileName));
    test::expectMatchesGolden("trace_spur_example.txt", file(kTraceFileName));
}

TEST_F(FileCommandFolder, InitialValuesMatchGoldenFiles) {
    const CommandResult r = runFileCommand(GearPairInput{}, m_dir, m_console);
    ASSERT_EQ(r.status, CommandStatus::ok) << r.message;
    EXPECT_EQ(m_console.str(), "n: 22\nDXF-Datei wird geschrieben...\n");
    EXPECT_EQ(file(kReportFileName),
              test::readFileBytes(test::goldenPath("zahnradwerte_initial.txt")));
    test::expectMatchesGolden("dxf_initial.dxf", file(kDrawingFileName));
    test::expectMatchesGolden("trace_initial.txt", file(kTraceFileName));
}

// About 18 MB of drawing and 2.6 MB of trace: several blocks each.
const GearPairInput kMidSize{300, 40, 2.0, 20.0, 10.0, 0.2, 0.0, 200};

// The blocks of a large drawing are written by a second thread while the next are formatted;
// the files hold the same bytes as the writers produce in memory.
TEST_F(FileCommandFolder, SuccessfulRunReplacesAllThree) {
    seedEarlierRun();
    ASSERT_EQ(runFileCommand(kMidSize, m_dir, m_console).status, CommandStatus::ok);
    const Snapshot s = snapshot(m_dir);
    ASSERT_EQ(s.size(), 3u);
    const GearPairGeometry g = computeGearPairGeometry(kMidSize);
    EXPECT_EQ(s.at(kReportFileName), formatGeometryReport(kMidSize, g));
    const test::WrittenOutline expected = test::writeOutline(
        buildFlankProfile(g, kMidSize.x1, kMidSize.segmentCount), g, kMidSize.z1);
    EXPECT_GT(expected.drawing.size(), 10 * kBlockBytes);
    EXPECT_TRUE(s.at(kDrawingFileName) == expected.drawing);
    EXPECT_TRUE(s.at(kTraceFileName) == expected.trace);
}

// Asked for, zahnradwerte.json joins the set: written with the three files, and when any file
// of the set fails (the JSON itself or the drawing after it) no file changes.
TEST_F(FileCommandFolder, JsonJoinsTheSetAllOrNothing) {
    seedEarlierRun();
    writeFile(m_dir / kJsonFileName, "json of an earlier run\n");
    const Snapshot before = snapshot(m_dir);
    const FileRequest request{.input = test::spurExample(), .json = true};
    for (const char* failing : {kJsonFileName, kDrawingFileName}) {
        const SinkWrapper wrap = [failing](const std::string& name, ByteSink& file) {
            const std::size_t limit = name == failing ? 10 : SIZE_MAX;
            return std::unique_ptr<ByteSink>(new test::FailingForwarder(file, limit));
        };
        const CommandResult r = runFileCommand(request, m_dir, m_console, {}, {wrap, {}});
        EXPECT_EQ(r.status, CommandStatus::fileError);
        EXPECT_NE(r.message.find(std::string(failing) + "\" kann nicht geschrieben werden"),
                  std::string::npos)
            << r.message;
        EXPECT_TRUE(snapshot(m_dir) == before) << describe(snapshot(m_dir));
    }

    ASSERT_EQ(runFileCommand(request, m_dir, m_console).status, CommandStatus::ok);
    const Snapshot s = snapshot(m_dir);
    ASSERT_EQ(s.size(), 4u);
    const GearPairGeometry g = computeGearPairGeometry(request.input);
    EXPECT_EQ(s.at(kJsonFileName),
              formatJsonReport(request.input, g, defaultBallDiameter(request.input.mn)));
    EXPECT_EQ(s.at(kReportFileName), formatGeometryReport(request.input, g));
    // Without the request the set is the three files: the switch takes the earlier JSON away, so
    // that the folder never holds a file of another gear.
    ASSERT_EQ(runFileCommand(test::spurExample(), m_dir, m_console).status, CommandStatus::ok);
    EXPECT_EQ(snapshot(m_dir).count(kJsonFileName), 0u);
    EXPECT_EQ(snapshot(m_dir).size(), 3u);
}

// The pair's set: gear 1's files as without the pair, gear 2's exactly gear 1's of the swapped
// input (with the same backlash), the assembly and the mesh check as their writers make them.
TEST_F(FileCommandFolder, PairWritesGear2AsGear1OfTheSwappedInput) {
    const fs::path other = m_dir.string() + "_alone";
    fs::create_directories(other);
    for (const double jn : {0.0, 0.1})
        for (const GearPairInput& in :
             {GearPairInput{}, GearPairInput{20, 40, 2.0, 20.0, 0.0, 0.2, 0.1, 20}}) {
            seedEarlierPairRun();
            m_console.str("");
            const CommandResult r = runFileCommand(FileRequest{in, jn, true}, m_dir, m_console);
            ASSERT_EQ(r.status, CommandStatus::ok) << r.message;
            const std::string n = std::to_string(2 * (in.segmentCount + 1));
            EXPECT_EQ(m_console.str(), "n: " + n + "\nDXF-Datei wird geschrieben...\n");
            const Snapshot s = snapshot(m_dir);
            ASSERT_EQ(s.size(), 7u) << describe(s);

            std::ostringstream ignored;
            ASSERT_TRUE(runFileCommand(FileRequest{in, jn, false}, other, ignored).ok());
            EXPECT_TRUE(s.at(kDrawingFileName) ==
                        test::readFileBytes((other / kDrawingFileName).string()));
            EXPECT_TRUE(s.at(kTraceFileName) ==
                        test::readFileBytes((other / kTraceFileName).string()));
            ASSERT_TRUE(
                runFileCommand(FileRequest{swappedInput(in), jn, false}, other, ignored).ok());
            EXPECT_TRUE(s.at(kGear2DrawingFileName) ==
                        test::readFileBytes((other / kDrawingFileName).string()));
            EXPECT_TRUE(s.at(kGear2TraceFileName) ==
                        test::readFileBytes((other / kTraceFileName).string()));

            const Prologue p = runPrologue(PrologueRequest{in, jn, true}, ignored, "");
            ASSERT_TRUE(p.gear2);
            const GearPairGeometry& g = p.gear->geometry;
            StringSink assembly;
            DxfDocumentWriter doc(assembly);
            ASSERT_TRUE(writeAssembly(
                doc, assemblyDrawing(g, in.mn, p.gear->outline(), p.gear2->outline())));
            EXPECT_TRUE(s.at(kPairDrawingFileName) == assembly.text());
            ASSERT_TRUE(r.mesh);
            EXPECT_EQ(r.mesh->jn, jn);
            EXPECT_EQ(r.mesh->jtSoll, nominalCircularBacklash(g, jn));
            EXPECT_FALSE(r.mesh->interferencePhi1);
            EXPECT_EQ(s.at(kMeshCheckFileName), formatMeshReport(g.a, *r.mesh));
        }
    fs::remove_all(other);
}

// Backlash thins gear 1's flanks in its own drawing too; the report stays the pair's geometry.
TEST_F(FileCommandFolder, BacklashThinsGear1sDrawing) {
    const GearPairInput in = test::spurExample();
    const CommandResult r = runFileCommand(FileRequest{in, 0.1, false}, m_dir, m_console);
    ASSERT_EQ(r.status, CommandStatus::ok) << r.message;
    EXPECT_FALSE(r.mesh);
    const GearPairGeometry g = computeGearPairGeometry(in);
    const test::WrittenOutline thin = test::writeOutline(
        buildFlankProfile(g, in.x1, in.segmentCount, flankThinning(g, 0.1)), g, in.z1);
    EXPECT_TRUE(file(kDrawingFileName) == thin.drawing);
    EXPECT_TRUE(file(kTraceFileName) == thin.trace);
    EXPECT_EQ(file(kReportFileName), formatGeometryReport(in, g));
    EXPECT_EQ(snapshot(m_dir).size(), 3u);
}

// One way for the command to fail, and what it must report.
struct FailureCase {
    const char* name;
    GearPairInput input;
    const char* failingFile;   // the file whose sink fails, or nullptr
    std::size_t failAfter;     // bytes that reach that file before it fails
    std::int64_t cancelAfter;  // teeth after which the progress callback says stop; 0 never
    const char* folderName;    // a folder stands where this file goes, or nullptr
    CommandStatus status;
    const char* messagePart;  // text the message must contain
    int consoleLines;         // how many of the two console lines were written
    bool pair = false;        // the pair's files are asked for too
    double backlash = 0;      // normal backlash jn
};

// A pair whose assembly takes more than a block (1.7 MB), its gear drawings about one each.
const GearPairInput kPairSize{60, 45, 2.0, 20.0, 10.0, 0.2, 0.1, 60};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FileCommandFailure : public FileCommandFolder,
                           public testing::WithParamInterface<FailureCase> {};

const FailureCase kFailures[] = {
    {"rangeTestFails",
     {3, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4},
     nullptr,
     0,
     0,
     nullptr,
     CommandStatus::outOfRange,
     "nicht alle im gültigem Bereich",
     0},
    {"elementCountOutOfRange",
     {20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 500},
     nullptr,
     0,
     0,
     nullptr,
     CommandStatus::outOfRange,
     "Anzahl der Elemente",
     0},
    {"notEnoughSpace",
     {2147483647, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 499},
     nullptr,
     0,
     0,
     nullptr,
     CommandStatus::fileError,
     "Nicht genug Speicherplatz",
     1},
    {"reportWriteFails", kMidSize, kReportFileName, 100, 0, nullptr, CommandStatus::fileError,
     "zahnradwerte.txt\" kann nicht geschrieben werden: Input/output error", 1},
    {"traceFailsHalfWay", kMidSize, kTraceFileName, 1500000, 0, nullptr, CommandStatus::fileError,
     "zahnrad.txt\" kann nicht geschrieben werden: Input/output error", 2},
    {"drawingFailsAtOnce", kMidSize, kDrawingFileName, 0, 0, nullptr, CommandStatus::fileError,
     "zahnrad.dxf\" kann nicht geschrieben werden", 2},
    {"drawingFailsHalfWay", kMidSize, kDrawingFileName, 10000000, 0, nullptr,
     CommandStatus::fileError, "zahnrad.dxf\" kann nicht geschrieben werden", 2},
    {"drawingFailsAtItsLastBlock", test::spurExample(), kDrawingFileName, 20000, 0, nullptr,
     CommandStatus::fileError, "zahnrad.dxf\" kann nicht geschrieben werden", 2},
    {"cancelledByProgress", kMidSize, nullptr, 0, 7, nullptr, CommandStatus::cancelled,
     "Abgebrochen", 2},
    {"drawingNameIsAFolder", test::spurExample(), nullptr, 0, 0, kDrawingFileName,
     CommandStatus::fileError, "zahnrad.dxf\" kann nicht ersetzt werden", 2},
    {"backlashHalfTheModule", test::spurExample(), nullptr, 0, 0, nullptr,
     CommandStatus::outOfRange, "Feld \"Flankenspiel jn\": erlaubt ist 0 ≤ jn < 1 mm", 0, true,
     1.0},
    {"backlashNegative", test::spurExample(), nullptr, 0, 0, nullptr, CommandStatus::outOfRange,
     "nicht alle im gültigem Bereich", 0, false, -0.01},
    {"pairWithoutWorkingAngle",
     {4, 4, 2.0, 20.0, 0.0, -0.5, -0.5, 4},
     nullptr,
     0,
     0,
     nullptr,
     CommandStatus::notDrawable,
     "keinen Betriebseingriffswinkel",
     0,
     true},
    {"gear2NotDrawable",
     {20, 4, 2.0, 20.0, 0.0, 0.5, -0.5, 6},
     nullptr,
     0,
     0,
     nullptr,
     CommandStatus::notDrawable,
     "Für z2 = 4 und x2 = -0.5 lässt sich kein Zahnrad zeichnen",
     1,
     true},
    {"gear2TraceFailsHalfWay", kPairSize, kGear2TraceFileName, 50000, 0, nullptr,
     CommandStatus::fileError, "zahnrad2.txt\" kann nicht geschrieben werden", 2, true},
    {"gear2DrawingFailsHalfWay", kPairSize, kGear2DrawingFileName, 400000, 0, nullptr,
     CommandStatus::fileError, "zahnrad2.dxf\" kann nicht geschrieben werden", 2, true},
    {"assemblyFailsAtOnce", kPairSize, kPairDrawingFileName, 0, 0, nullptr,
     CommandStatus::fileError, "zahnradpaar.dxf\" kann nicht geschrieben werden", 2, true},
    {"assemblyFailsHalfWay", kPairSize, kPairDrawingFileName, 1500000, 0, nullptr,
     CommandStatus::fileError, "zahnradpaar.dxf\" kann nicht geschrieben werden", 2, true, 0.05},
    {"meshReportFails", test::spurExample(), kMeshCheckFileName, 10, 0, nullptr,
     CommandStatus::fileError, "eingriff.txt\" kann nicht geschrieben werden", 2, true},
    {"cancelledInGear2", kPairSize, nullptr, 0, 70, nullptr, CommandStatus::cancelled,
     "Abgebrochen", 2, true},
    {"cancelledInTheAssembly", kPairSize, nullptr, 0, 160, nullptr, CommandStatus::cancelled,
     "Abgebrochen", 2, true},
    {"pairNotEnoughSpace",
     {2147483647, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 499},
     nullptr,
     0,
     0,
     nullptr,
     CommandStatus::fileError,
     "Nicht genug Speicherplatz",
     1,
     true},
    {"assemblyNameIsAFolder", test::spurExample(), nullptr, 0, 0, kPairDrawingFileName,
     CommandStatus::fileError, "zahnradpaar.dxf\" kann nicht ersetzt werden", 2, true},
};

TEST_P(FileCommandFailure, EarlierFilesStayAndNoTemporaryIsLeft) {
    const FailureCase& c = GetParam();
    seedEarlierPairRun();
    if (c.folderName != nullptr) {
        fs::remove(m_dir / c.folderName);
        fs::create_directory(m_dir / c.folderName);
        writeFile(m_dir / c.folderName / "inside.txt", "kept\n");
    }
    const Snapshot before = snapshot(m_dir);
    SinkWrapper wrap;
    if (c.failingFile != nullptr) {
        wrap = [&c](const std::string& name, ByteSink& file) -> std::unique_ptr<ByteSink> {
            const std::size_t limit = name == c.failingFile ? c.failAfter : SIZE_MAX;
            return std::make_unique<test::FailingForwarder>(file, limit);
        };
    }
    std::int64_t calls = 0;
    // The pair walks both gears for their own files and again for the assembly.
    const std::int64_t teeth = c.pair ? 2 * (std::int64_t{c.input.z1} + c.input.z2) : c.input.z1;
    ProgressCallback progress = [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(done, ++calls);
        EXPECT_EQ(total, teeth);
        return c.cancelAfter == 0 || done < c.cancelAfter;
    };
    const CommandResult r = runFileCommand(FileRequest{c.input, c.backlash, c.pair}, m_dir,
                                           m_console, progress, CommandSeams{wrap, {}});
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.message.find(c.messagePart), std::string::npos) << r.message;
    EXPECT_TRUE(snapshot(m_dir) == before) << describe(snapshot(m_dir));
    // The failing field is named for the eight values; the backlash has its own message.
    EXPECT_EQ(r.violation.has_value(), !validateInput(c.input));
    EXPECT_FALSE(r.mesh);
    const std::string lines[] = {"", "n: " + std::to_string(2 * (c.input.segmentCount + 1)) + "\n",
                                 "n: " + std::to_string(2 * (c.input.segmentCount + 1)) +
                                     "\nDXF-Datei wird geschrieben...\n"};
    EXPECT_EQ(m_console.str(), lines[c.consoleLines]);
    if (c.cancelAfter > 0) {
        EXPECT_EQ(calls, c.cancelAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileCommandFailure, testing::ValuesIn(kFailures),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FileCommandFolder, TargetFolderIsARegularFile) {
    seedEarlierRun();
    const fs::path notAFolder = m_dir / kDrawingFileName;
    const Snapshot before = snapshot(m_dir);
    const CommandResult r = runFileCommand(test::spurExample(), notAFolder, m_console);
    EXPECT_EQ(r.status, CommandStatus::fileError);
    EXPECT_NE(r.message.find("zahnradwerte.txt\" kann nicht angelegt werden: Not a directory"),
              std::string::npos)
        << r.message;
    EXPECT_TRUE(snapshot(m_dir) == before) << describe(snapshot(m_dir));
}

// No valid input makes the root arc fit fail (the gap points are never collinear); a fit that
// finds no circle must still end the command with its message and leave every file alone.
TEST_F(FileCommandFolder, FailedFitWritesNothing) {
    seedEarlierRun();
    const Snapshot before = snapshot(m_dir);
    CommandSeams seams;
    seams.fit = [](const FlankProfile&, double, std::int32_t) { return std::nullopt; };
    const CommandResult r = runFileCommand(test::spurExample(), m_dir, m_console, {}, seams);
    EXPECT_EQ(r.status, CommandStatus::fitFailed);
    EXPECT_EQ(r.message,
              "Der Kreis, der die Zahnlücken schließt, lässt sich für diese Werte nicht "
              "bestimmen. Es wurde keine Datei geändert.");
    EXPECT_EQ(m_console.str(), "n: 10\n");
    EXPECT_TRUE(snapshot(m_dir) == before) << describe(snapshot(m_dir));
}

// A gear of 10^8 teeth puts the three points of the gap within a few hundredths of each other
// at 2.5e7 from the centre, where the plain solution of the system cancels to a radius that is
// not a number; the fit solves it again near the points. The run is stopped after one tooth.
TEST_F(FileCommandFolder, HundredMillionTeethGiveAFiniteCircle) {
    seedEarlierRun();
    const Snapshot before = snapshot(m_dir);
    const GearPairInput in{100000000, 4, 0.5, 20.0, 7.5, -0.5, -0.5, 0};
    const GearPairGeometry g = computeGearPairGeometry(in);
    const std::optional<RootArc> arc =
        fitRootArc(buildFlankProfile(g, in.x1, in.segmentCount), g.rf1, in.z1);
    ASSERT_TRUE(arc);
    EXPECT_TRUE(std::isfinite(arc->radius));
    const CommandResult r =
        runFileCommand(in, m_dir, m_console, [](std::int64_t, std::int64_t) { return false; });
    if (r.status == CommandStatus::fileError)
        GTEST_SKIP() << r.message;
    EXPECT_EQ(r.status, CommandStatus::cancelled) << r.message;
    EXPECT_TRUE(snapshot(m_dir) == before) << describe(snapshot(m_dir));
}

// The disk filling up half way through the drawing, as the kernel reports it: a file-size
// limit makes the write that crosses it fail with EFBIG. The limit holds for root too, and a
// child process keeps it away from the test program.
TEST_F(FileCommandFolder, FileSizeLimitHalfWayThroughTheDrawing) {
    seedEarlierRun();
    const Snapshot before = snapshot(m_dir);
    const auto report = test::textFromChildWithFileLimit(2000000, [&] {
        std::ostringstream console;
        const CommandResult r = runFileCommand(kMidSize, m_dir, console);
        return std::to_string(static_cast<int>(r.status)) + "\n" + r.message;
    });
    ASSERT_TRUE(report);
    EXPECT_EQ(*report, std::to_string(static_cast<int>(CommandStatus::fileError)) + "\nDatei \"" +
                           (m_dir / kDrawingFileName).string() +
                           "\" kann nicht geschrieben werden: File too large");
    EXPECT_TRUE(snapshot(m_dir) == before) << describe(snapshot(m_dir));
}

}  // namespace
}  // namespace kellvor
