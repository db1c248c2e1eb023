#include "commands/file_command.h"

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "commands/command_messages.h"
#include "geometry/geometry_report.h"
#include "outline/contour_area.h"
#include "outline/gear_outline.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/drawing_check.h"
#include "output/dxf_writer.h"
#include "output/free_space.h"
#include "output/output_messages.h"
#include "output/replacement_files.h"
#include "output/svg_writer.h"
#include "output/tooth_relay.h"
#include "output/trace_writer.h"

namespace kellvor {
namespace {

// One block being filled per file and up to four on their way to the disk.
constexpr std::size_t kBlocksInUse = 6;
// The id of gear 1's path in the SVG drawing.
constexpr std::string_view kGear1PathId = "zahnrad1";

// The output files of one run: each a temporary file, seen by the writers through a sink that
// a test may have wrapped.
class OutputFiles {
  public:
    OutputFiles(const std::filesystem::path& dir, const SinkWrapper& wrap)
        : m_files(dir), m_wrap(wrap) {}

    // The sink for the file name, or nullptr when it cannot be created.
    ByteSink* open(const std::string& name) {
        FileSink* file = m_files.create(name);
        if (file == nullptr || !m_wrap)
            return file;
        return m_wrappers.emplace_back(m_wrap(name, *file)).get();
    }
    // Records the failure of sink, which belongs to the file name.
    CommandResult writeFailed(const std::string& name, const ByteSink& sink) {
        m_files.fail(name, sink.error(), output_messages::kCannotWrite);
        return failure(CommandStatus::fileError, m_files.message());
    }
    CommandResult openFailed() { return failure(CommandStatus::fileError, m_files.message()); }
    // Where the file name is written until the commit.
    std::filesystem::path temporaryPath(const std::string& name) const {
        return m_files.temporaryPath(name);
    }
    // Moves all files into place together.
    CommandResult commit() {
        if (!m_files.commit())
            return failure(CommandStatus::fileError, m_files.message());
        return CommandResult{};
    }

  private:
    ReplacementFiles m_files;
    const SinkWrapper& m_wrap;
    std::vector<std::unique_ptr<ByteSink>> m_wrappers;
};

}  // namespace

CommandResult runFileCommand(const FileRequest& request, const std::filesystem::path& dir,
                             std::ostream& console, const ProgressCallback& progress,
                             const CommandSeams& seams) {
    const GearPairInput& input = request.input;
    Prologue prologue =
        runPrologue(input, console, messages::kNothingWritten, seams.fit, request.root);
    if (!prologue.gear)
        return prologue.result;
    const PreparedGear& gear = *prologue.gear;
    const std::string report = formatGeometryReport(input, gear.geometry);
    const std::int32_t n = gear.profile.count();

    const std::string title = request.svg ? messages::drawingTitle(1, input, request.root) : "";

    // A drawing of many teeth can take more room than the disk has; finding that out only when
    // the disk is full would cost the time of writing it.
    std::uint64_t needed = maxOutputBytes(report.size(), input.z1, n);
    if (request.svg)
        needed += maxSvgBytes(input.z1, n, title.size());
    if (auto noRoom = checkFreeSpace(dir, needed))
        return failure(CommandStatus::fileError, std::move(*noRoom));

    OutputFiles files(dir, seams.wrap);
    ByteSink* reportSink = files.open(kReportFileName);
    if (reportSink == nullptr)
        return files.openFailed();
    if (!reportSink->write(report.data(), report.size()))
        return files.writeFailed(kReportFileName, *reportSink);

    // The drawing of a large gear is hundreds of megabytes and formatting its numbers is the
    // bulk of the work: this thread formats the drawing while the background writer's thread
    // writes its blocks (the bench's single-threaded row shows what that buys), and the trace is
    // formatted and written on a thread of its own (see the walk below).
    BackgroundWriter background(kBlockBytes, kBlocksInUse + (request.svg ? 1 : 0));
    ByteSink* traceSink = files.open(kTraceFileName);
    if (traceSink == nullptr)
        return files.openFailed();
    OutlineTraceWriter trace(*traceSink);
    trace.open();
    console << messages::kWritingDrawing << std::endl;

    ByteSink* drawingSink = files.open(kDrawingFileName);
    if (drawingSink == nullptr)
        return files.openFailed();
    DxfOutlineWriter drawing(*drawingSink, &background);
    drawing.open();

    // The SVG drawing takes the same teeth in the same order, formatted on this thread.
    ByteSink* svgSink = nullptr;
    std::optional<SvgOutlineWriter> svg;
    if (request.svg) {
        svgSink = files.open(kSvgFileName);
        if (svgSink == nullptr)
            return files.openFailed();
        svg.emplace(*svgSink, &background);
        svg->open(gearSvgBox(gear.profile), title);
        svg->beginPath(kGear1PathId);
    }

    // Each tooth goes to both files the moment it is built; the walk stops at the first write
    // that fails, since nothing of this run will be kept then. The trace relay's thread formats
    // the trace while this thread formats the drawing.
    ToothRelay traceRelay([&trace](const OutlineTooth& tooth) { return trace.writeTooth(tooth); });
    bool cancelled = false;
    const std::int64_t total = input.z1;
    walkGearOutline(gear.profile, gear.arc, input.z1, [&](const OutlineTooth& tooth) {
        const bool traced = traceRelay.push(tooth);
        const bool drawn = drawing.writeTooth(tooth);
        const bool pictured = !svg || svg->writeTooth(tooth);
        if (!traced || !drawn || !pictured)
            return false;
        if (progress && !progress(std::int64_t{tooth.index} + 1, total)) {
            cancelled = true;
            return false;
        }
        return true;
    });
    const bool traced = traceRelay.finish();
    if (cancelled)
        return failure(CommandStatus::cancelled,
                       messages::joined(messages::kCancelled, messages::kNothingWritten));
    if (!traced)
        return files.writeFailed(kTraceFileName, *traceSink);
    if (!drawing.close())
        return files.writeFailed(kDrawingFileName, *drawingSink);
    if (!trace.close())
        return files.writeFailed(kTraceFileName, *traceSink);
    if (svg && !(svg->endPath() && svg->close()))
        return files.writeFailed(kSvgFileName, *svgSink);
    if (request.verify) {
        // The drawing as the disk holds it, against the outline it was written from.
        const DrawingExpectation expected{&gear.profile, &gear.arc, input.z1, input.mn,
                                          outlineArea(gear.profile, gear.arc, input.z1)};
        if (const auto found = checkWrittenDrawing(files.temporaryPath(kDrawingFileName), expected))
            return failure(CommandStatus::fileError,
                           messages::joined(messages::drawingCheckFailed(kDrawingFileName, *found),
                                            messages::kNothingWritten));
    }
    return files.commit();
}

}  // namespace kellvor
