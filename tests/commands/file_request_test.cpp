// The file command's optional outputs: the generated root, the SVG drawing and the read-back
// check of the drawing, with faults injected between the writer and the disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "commands/command_messages.h"
#include "commands/file_command.h"
#include "geometry/geometry_report.h"
#include "geometry/real_format.h"
#include "outline/generated_root.h"
#include "output/dxf_entity.h"
#include "output/dxf_writer.h"
#include "output/output_test_util.h"
#include "output/svg_writer.h"
#include "output/trace_writer.h"
#include "support/golden.h"

namespace kellvor {
namespace {

namespace fs = std::filesystem;

// Every file of a folder with its bytes.
std::map<std::string, std::string> filesIn(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = test::readFileBytes(entry.path().string());
    return files;
}

class FileRequestFolder : public testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("kellvor_request_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void seedEarlierRun() {
        for (const char* name : {kReportFileName, kTraceFileName, kDrawingFileName, kSvgFileName})
            std::ofstream(m_dir / name) << "earlier " << name << "\n";
    }
    fs::path m_dir;
    std::ostringstream m_console;
};

const GearPairInput kUndercut{12, 40, 2.0, 20.0, 25.0, -0.5, 0.0, 6};
const GearPairInput kMidSize{300, 40, 2.0, 20.0, 10.0, 0.2, 0.0, 200};

TEST_F(FileRequestFolder, GeneratedRootWithSvgWritesFourFiles) {
    const FileRequest request{
        .input = kUndercut, .root = RootForm::generated, .svg = true, .verify = true};
    const CommandResult r = runFileCommand(request, m_dir, m_console);
    ASSERT_TRUE(r.ok()) << r.message;
    const GearPairGeometry g = computeGearPairGeometry(kUndercut);
    const GeneratedRoot root = buildGeneratedRoot(kUndercut, g);
    // "n: " counts the points of one tooth as written: fillets included.
    EXPECT_EQ(m_console.str(),
              "n: " + std::to_string(root.profile.count()) + "\nDXF-Datei wird geschrieben...\n");
    const auto files = filesIn(m_dir);
    ASSERT_EQ(files.size(), 4u);
    // The drawing and the trace are those of the generated outline.
    StringSink drawingText, traceText, svgText;
    DxfOutlineWriter drawing(drawingText);
    OutlineTraceWriter trace(traceText);
    SvgOutlineWriter svg(svgText);
    drawing.open();
    svg.open(gearSvgBox(root.profile), messages::drawingTitle(1, kUndercut, RootForm::generated));
    svg.beginPath("zahnrad1");
    walkGearOutline(root.profile, root.arc, kUndercut.z1, [&](const OutlineTooth& t) {
        return drawing.writeTooth(t) && trace.writeTooth(t) && svg.writeTooth(t);
    });
    drawing.close();
    trace.close();
    svg.endPath();
    svg.close();
    EXPECT_TRUE(files.at(kDrawingFileName) == drawingText.text());
    EXPECT_TRUE(files.at(kTraceFileName) == traceText.text());
    EXPECT_TRUE(files.at(kSvgFileName) == svgText.text());
    EXPECT_NE(files.at(kSvgFileName)
                  .find("<title>Zahnrad 1: z1 = 12, z2 = 40, mn = 2 mm, b = 20 mm, beta = 25°, "
                        "x1 = -0.5, x2 = 0, 6 Elemente je Flanke, Zahnfuß: erzeugt"),
              std::string::npos);
}

// Without the options the request writes the three files it always wrote.
TEST_F(FileRequestFolder, DefaultRequestIsTheThreeFiles) {
    const CommandResult r = runFileCommand(FileRequest{GearPairInput{}}, m_dir, m_console);
    ASSERT_TRUE(r.ok()) << r.message;
    const auto files = filesIn(m_dir);
    EXPECT_EQ(files.size(), 3u);
    test::expectMatchesGolden("dxf_initial.dxf", files.at(kDrawingFileName));
}

// Every option together on a pair whose gears need different numbers of fillet elements: the
// whole set is written, the CAM-ready drawings of both gears pass the read-back check, and the
// assembly holds every tooth of both.
TEST_F(FileRequestFolder, PairWithGeneratedRootSvgAndVerify) {
    FileRequest request{.input = {17, 40, 8.0, 45.0, 20.0, 0.34, -0.04, 10},
                        .backlash = 0.1,
                        .pair = true,
                        .json = true,
                        .root = RootForm::generated,
                        .svg = true,
                        .dxfStyle = DxfStyle::cam,
                        .verify = true};
    const CommandResult r = runFileCommand(request, m_dir, m_console);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(filesIn(m_dir).size(), kSetFileNames.size());
    EXPECT_EQ(r.files.size(), kSetFileNames.size());
}

// The check passes for what the writers write, across both roots and several blocks.
TEST_F(FileRequestFolder, VerifyPassesForWrittenDrawings) {
    for (const RootForm root : {RootForm::threePointArc, RootForm::generated}) {
        for (const GearPairInput& in :
             {kMidSize, kUndercut, GearPairInput{}, GearPairInput{5, 40, 1, 10, 30, 0.5, 0, 0}}) {
            const CommandResult r =
                runFileCommand(FileRequest{.input = in, .root = root, .svg = false, .verify = true},
                               m_dir, m_console);
            EXPECT_TRUE(r.ok()) << in.z1 << " " << r.message;
        }
    }
}

// Passes the drawing's bytes on to the file after changing them with edit (a small drawing
// arrives in one block, so the edit sees all of it).
class EditingSink final : public ByteSink {
  public:
    using Edit = std::function<void(std::string&)>;
    EditingSink(ByteSink& file, Edit edit) : m_file(file), m_edit(std::move(edit)) {}
    bool write(const char* data, std::size_t size) override {
        std::string text(data, size);
        m_edit(text);
        return m_file.write(text.data(), text.size());
    }
    std::error_code error() const override { return m_file.error(); }

  private:
    ByteSink& m_file;
    Edit m_edit;
};

// Where the text of the entity with the given handle starts (its "0" line) and ends.
std::pair<std::size_t, std::size_t> entitySpan(const std::string& text, std::int64_t handle) {
    const std::size_t at =
        text.find(std::string(kEntityProperties) + std::to_string(handle) + "\n");
    std::size_t end = text.size();
    for (const char* next : {"\n0\nLINE\n", "\n0\nARC\n", "\n0\nENDSEC\n"})
        end = std::min(end, text.find(next, at));
    return {text.rfind("\n0\n", at) + 1, end + 1};
}

// Moves the x of the point that line `handle` ends at, and the next line starts at, by dx.
void movePoint(std::string& text, std::int64_t handle, double dx) {
    for (const auto& [h, code] : {std::pair{handle, " 11\n"}, std::pair{handle + 1, " 10\n"}}) {
        const auto [begin, end] = entitySpan(text, h);
        const std::size_t value = text.find(code, begin) + std::string(code).size();
        const std::size_t lineEnd = text.find('\n', value);
        std::string moved;
        appendReal(moved, std::stod(text.substr(value, lineEnd - value)) + dx, 15);
        text.replace(value, lineEnd - value, moved);
    }
}

struct Fault {
    const char* name;
    RootForm root;
    bool gap;             // a line left out; otherwise a point moved by 1e-6 mn
    const char* finding;  // what the message must name
};

void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.name;
}

class VerifyFault : public FileRequestFolder, public testing::WithParamInterface<Fault> {};

TEST_P(VerifyFault, FailsNamingTheFindingAndChangesNothing) {
    const Fault& f = GetParam();
    seedEarlierRun();
    const auto before = filesIn(m_dir);
    // Line 1 of the first tooth ends at its third point, on the flank's side: on the involute
    // for the three-point arc, on the fillet for the generated root.
    const std::int64_t line = kFirstHandle + 1;
    const double mn = kUndercut.mn;
    CommandSeams seams;
    seams.wrap = [&](const std::string& name, ByteSink& file) -> std::unique_ptr<ByteSink> {
        if (name != kDrawingFileName)
            return std::make_unique<EditingSink>(file, [](std::string&) {});
        return std::make_unique<EditingSink>(file, [&](std::string& text) {
            if (f.gap) {
                const auto [begin, end] = entitySpan(text, line + 2);
                text.erase(begin, end - begin);
            } else {
                movePoint(text, line, 1e-6 * mn);
            }
        });
    };
    const CommandResult r =
        runFileCommand(FileRequest{.input = kUndercut, .root = f.root, .svg = true, .verify = true},
                       m_dir, m_console, {}, seams);
    EXPECT_EQ(r.status, CommandStatus::fileError);
    EXPECT_NE(r.message.find("Die Prüfung der geschriebenen Zeichnung zahnrad.dxf ist "
                             "fehlgeschlagen: "),
              std::string::npos)
        << r.message;
    EXPECT_NE(r.message.find(f.finding), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("Es wurde keine Datei geändert."), std::string::npos);
    EXPECT_TRUE(filesIn(m_dir) == before);
}

const Fault kFaults[] = {
    {"movedInvolutePoint", RootForm::threePointArc, false, "Element 28 liegt"},
    {"movedFilletPoint", RootForm::generated, false,
     "Element 28 liegt 2e-06 mm neben der Fußrundung"},
    {"gapInThreePointOutline", RootForm::threePointArc, true, "bei Element 31 nicht geschlossen"},
    {"gapInGeneratedOutline", RootForm::generated, true, "bei Element 31 nicht geschlossen"},
};

INSTANTIATE_TEST_SUITE_P(Faults, VerifyFault, testing::ValuesIn(kFaults),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kellvor
