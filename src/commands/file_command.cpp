#include "commands/file_command.h"

#include <new>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "commands/command_messages.h"
#include "commands/lock_wait.h"
#include "geometry/backlash.h"
#include "geometry/geometry_report.h"
#include "geometry/measuring_dimensions.h"
#include "outline/contour_area.h"
#include "outline/gear_outline.h"
#include "output/assembly_svg.h"
#include "output/assembly_writer.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/cam_drawing.h"
#include "output/drawing_check.h"
#include "output/dxf_document.h"
#include "output/dxf_writer.h"
#include "output/file_names.h"
#include "output/free_space.h"
#include "output/json_report.h"
#include "output/mesh_report.h"
#include "output/output_messages.h"
#include "output/replacement_files.h"
#include "output/svg_writer.h"
#include "output/tooth_relay.h"
#include "output/trace_writer.h"

namespace kellvor {
namespace {

// One block being filled per file and up to four on their way to the disk.
constexpr std::size_t kBlocksInUse = 6;

// The output files of one run: each a temporary file, seen by the writers through a sink that
// a test may have wrapped. The folder is locked and recovered when the first file is opened.
class OutputFiles {
  public:
    OutputFiles(const std::filesystem::path& dir, const SinkWrapper& wrap,
                const ProgressCallback& progress)
        : m_dir(dir),
          m_files(dir, ReplacementScope::fileSet, lockWaitThrough(progress)),
          m_wrap(wrap),
          m_progress(progress) {}

    // The sink for the file name, or nullptr when it cannot be created.
    ByteSink* open(const std::string& name) {
        m_names.push_back(name);
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
    CommandResult openFailed() {
        return m_files.cancelled() ? messages::cancelledResult(messages::kNothingWritten)
                                   : failure(CommandStatus::fileError, m_files.message());
    }
    // Where the file name is written until the commit.
    std::filesystem::path temporaryPath(const std::string& name) const {
        return m_files.temporaryPath(name);
    }
    // Tells console what the recovery of the folder did, when it did or found anything.
    void reportRecovery(std::ostream& console) const {
        const RecoveryReport& r = m_files.recovery();
        if (r.changed() || !r.leftAlone.empty())
            console << describeRecovery(r, m_dir) << std::endl;
    }
    // Moves all files into place together, unless progress says stop at the last moment.
    CommandResult commit() {
        if (!m_files.commit([this] { return stillWanted(m_progress); }))
            return m_files.cancelled() ? messages::cancelledResult(messages::kNothingWritten)
                                       : failure(CommandStatus::fileError, m_files.message());
        CommandResult done;
        done.files = m_names;
        return done;
    }

  private:
    std::filesystem::path m_dir;
    ReplacementFiles m_files;
    const SinkWrapper& m_wrap;
    const ProgressCallback& m_progress;
    std::vector<std::unique_ptr<ByteSink>> m_wrappers;
    std::vector<std::string> m_names;
};

// The files of one gear: its trace, its drawing and, when asked, its SVG drawing.
struct GearFiles {
    const char* trace;
    const char* drawing;
    std::string_view layer;   // the layer of the CAM-ready drawing
    const char* svg;          // nullptr: no SVG drawing
    std::string_view pathId;  // the id of the gear's path in the SVG drawing
    std::string svgTitle;
    bool verify = false;  // read the drawing back and check it before the switch
    DxfStyle style = DxfStyle::minimal;
};

// The drawing of one gear in either style, fed tooth by tooth.
class GearDrawing {
  public:
    GearDrawing(ByteSink& sink, BackgroundWriter& background, const PreparedGear& gear,
                const GearFiles& names) {
        if (names.style == DxfStyle::cam) {
            m_cam = std::make_unique<CamDrawingWriter>(sink, &background);
            m_cam->open(camGearSetup(gear.outline(), names.layer));
        } else {
            m_minimal = std::make_unique<DxfOutlineWriter>(sink, &background);
            m_minimal->open();
        }
    }
    bool writeTooth(const OutlineTooth& tooth) {
        return m_cam ? m_cam->writeTooth(tooth) : m_minimal->writeTooth(tooth);
    }
    bool close() { return m_cam ? m_cam->close() : m_minimal->close(); }

  private:
    // One of the two, on the heap: an optional of each trips g++'s uninitialised-use warning.
    std::unique_ptr<DxfOutlineWriter> m_minimal;
    std::unique_ptr<CamDrawingWriter> m_cam;
};

// Walks gear into its trace, drawing (and SVG drawing) as one tooth stream, then checks the
// written drawing when asked; the failure, or nothing. The console line (gear 1 only) goes out
// between opening the trace and the drawing. threads false keeps every step on this thread.
std::optional<CommandResult> writeGear(OutputFiles& files, const PreparedGear& gear,
                                       const GearFiles& names, std::ostream* console,
                                       const ProgressCallback& progress, std::int64_t done,
                                       std::int64_t total, bool threads) {
    // The drawing of a large gear is hundreds of megabytes and formatting its numbers is the
    // bulk of the work: this thread formats the drawing while the background writer's thread
    // writes its blocks (the bench's single-threaded row shows what that buys), and the trace is
    // formatted and written on a thread of its own (the relay below).
    BackgroundWriter background(kBlockBytes, kBlocksInUse + (names.svg != nullptr ? 1 : 0),
                                threads);
    ByteSink* traceSink = files.open(names.trace);
    if (traceSink == nullptr)
        return files.openFailed();
    OutlineTraceWriter trace(*traceSink);
    trace.open();
    if (console != nullptr)
        *console << messages::kWritingDrawing << std::endl;

    ByteSink* drawingSink = files.open(names.drawing);
    if (drawingSink == nullptr)
        return files.openFailed();
    GearDrawing drawing(*drawingSink, background, gear, names);

    // The SVG drawing takes the same teeth in the same order, formatted on this thread.
    ByteSink* svgSink = nullptr;
    std::optional<SvgOutlineWriter> svg;
    if (names.svg != nullptr) {
        svgSink = files.open(names.svg);
        if (svgSink == nullptr)
            return files.openFailed();
        svg.emplace(*svgSink, &background);
        svg->open(gearSvgBox(gear.profile), names.svgTitle);
        svg->beginPath(names.pathId);
    }

    // Each tooth goes to every file the moment it is built; the walk stops at the first write
    // that fails, since nothing of this run will be kept then. The trace relay's thread formats
    // the trace while this thread formats the drawing.
    ToothRelay traceRelay([&trace](const OutlineTooth& tooth) { return trace.writeTooth(tooth); },
                          kRelaySlots, threads);
    bool cancelled = false;
    walkGearOutline(gear.profile, gear.arc, gear.seen.z1, [&](const OutlineTooth& tooth) {
        const bool traced = traceRelay.push(tooth);
        const bool drawn = drawing.writeTooth(tooth);
        const bool pictured = !svg || svg->writeTooth(tooth);
        if (!traced || !drawn || !pictured)
            return false;
        if (progress && !progress(done + tooth.index + 1, total)) {
            cancelled = true;
            return false;
        }
        return true;
    });
    const bool traced = traceRelay.finish();
    if (cancelled)
        return messages::cancelledResult(messages::kNothingWritten);
    if (!traced)
        return files.writeFailed(names.trace, *traceSink);
    if (!drawing.close())
        return files.writeFailed(names.drawing, *drawingSink);
    if (!trace.close())
        return files.writeFailed(names.trace, *traceSink);
    if (svg && !(svg->endPath() && svg->close()))
        return files.writeFailed(names.svg, *svgSink);
    if (names.verify) {
        // The drawing as the disk holds it, against the outline it was written from.
        const GearPairInput& seen = gear.seen;
        const DrawingExpectation expected{&gear.profile,
                                          &gear.arc,
                                          seen.z1,
                                          seen.mn,
                                          outlineArea(gear.profile, gear.arc, seen.z1),
                                          names.style};
        if (const auto found = checkWrittenDrawing(files.temporaryPath(names.drawing), expected))
            return failure(CommandStatus::fileError,
                           messages::joined(messages::drawingCheckFailed(names.drawing, *found),
                                            messages::kNothingWritten));
    }
    return std::nullopt;
}

// The pair's own files: the assembly drawing, its SVG drawing when svgTitle is set, and the
// mesh check's report.
std::optional<CommandResult> writePairFiles(OutputFiles& files, const AssemblyDrawing& assembly,
                                            const std::optional<std::string>& svgTitle,
                                            const std::string& meshReport,
                                            const ProgressCallback& progress, std::int64_t done,
                                            std::int64_t total, bool threads) {
    BackgroundWriter background(kBlockBytes, kBlocksInUse, threads);
    bool cancelled = false;
    // Progress through both gears of one of the assembly's documents, from done on.
    const auto teethFrom = [&](std::int64_t from) {
        ProgressCallback seen;
        if (progress) {
            seen = [&, from](std::int64_t teeth, std::int64_t) {
                cancelled = !progress(from + teeth, total);
                return !cancelled;
            };
        }
        return seen;
    };
    ByteSink* assemblySink = files.open(kPairDrawingFileName);
    if (assemblySink == nullptr)
        return files.openFailed();
    DxfDocumentWriter document(*assemblySink, &background);
    const bool written = writeAssembly(document, assembly, teethFrom(done));
    if (cancelled)
        return messages::cancelledResult(messages::kNothingWritten);
    if (!written)
        return files.writeFailed(kPairDrawingFileName, *assemblySink);
    if (svgTitle) {
        ByteSink* svgSink = files.open(kPairSvgFileName);
        if (svgSink == nullptr)
            return files.openFailed();
        SvgOutlineWriter svg(*svgSink, &background);
        const std::int64_t teeth = std::int64_t{assembly.gear1.z} + assembly.gear2.z;
        const bool pictured = writeAssemblySvg(svg, assembly, *svgTitle, teethFrom(done + teeth));
        if (cancelled)
            return messages::cancelledResult(messages::kNothingWritten);
        if (!pictured)
            return files.writeFailed(kPairSvgFileName, *svgSink);
    }
    ByteSink* meshSink = files.open(kMeshCheckFileName);
    if (meshSink == nullptr)
        return files.openFailed();
    if (!meshSink->write(meshReport.data(), meshReport.size()))
        return files.writeFailed(kMeshCheckFileName, *meshSink);
    return std::nullopt;
}

CommandResult writeFiles(const FileRequest& request, const std::filesystem::path& dir,
                         std::ostream& console, const ProgressCallback& progress,
                         const CommandSeams& seams) {
    const GearPairInput& input = request.input;
    Prologue prologue =
        runPrologue(PrologueRequest{input, request.backlash, request.pair, request.root}, console,
                    messages::kNothingWritten, seams.fit);
    if (!prologue.gear)
        return prologue.result;
    const PreparedGear& gear = *prologue.gear;
    const GearPairGeometry& g = gear.geometry;
    const std::string report = formatGeometryReport(input, g);
    const std::int32_t n = gear.profile.count();
    const bool threads = !seams.withoutThreads;

    GearFiles gear1Files{kTraceFileName, kDrawingFileName, kGear1Layer, nullptr, kGear1PathId, "",
                         request.verify, request.dxfStyle};
    GearFiles gear2Files{
        kGear2TraceFileName, kGear2DrawingFileName, kGear2Layer, nullptr, kGear2PathId, "",
        request.verify,      request.dxfStyle};
    std::optional<std::string> pairSvgTitle;
    if (request.svg) {
        gear1Files.svg = kSvgFileName;
        gear1Files.svgTitle = messages::drawingTitle(1, input, request.root);
        gear2Files.svg = kGear2SvgFileName;
        gear2Files.svgTitle = messages::drawingTitle(2, input, request.root);
        if (request.pair)
            pairSvgTitle = messages::drawingTitle(0, input, request.root);
    }

    AssemblyDrawing assembly;
    // The room of the CAM-ready drawing in place of the minimal one's.
    const auto camExtra = [&](const PreparedGear& prepared, std::string_view layer) {
        if (request.dxfStyle != DxfStyle::cam)
            return std::uint64_t{0};
        const std::uint64_t minimal = maxDrawingBytes(prepared.seen.z1, prepared.profile.count());
        const std::uint64_t cam = maxDocumentBytes(camGearSetup(prepared.outline(), layer));
        return cam > minimal ? cam - minimal : 0;
    };
    std::uint64_t needed = maxOutputBytes(report.size(), input.z1, n) + kMaxJsonReportBytes +
                           camExtra(gear, kGear1Layer);
    if (request.svg)
        needed += maxSvgBytes(input.z1, n, gear1Files.svgTitle.size());
    std::optional<MeshCheck> mesh;
    std::string meshReport;
    if (request.pair) {
        const std::int32_t n2 = prologue.gear2->profile.count();
        assembly = assemblyDrawing(g, input.mn, gear.outline(), prologue.gear2->outline(),
                                   request.dxfStyle);
        needed += maxOutputBytes(maxMeshReportBytes(), input.z2, n2) +
                  maxDocumentBytes(assemblySetup(assembly)) +
                  camExtra(*prologue.gear2, kGear2Layer);
        if (request.svg)
            needed += maxSvgBytes(input.z2, n2, gear2Files.svgTitle.size()) +
                      maxAssemblySvgBytes(assembly, pairSvgTitle->size());
    }

    // Opening the first file locks the folder (waiting for another run) and finishes or
    // clears what a dead run left, which may free space.
    OutputFiles files(dir, seams.wrap, progress);
    ByteSink* reportSink = files.open(kReportFileName);
    if (reportSink == nullptr)
        return files.openFailed();
    files.reportRecovery(console);

    // A drawing of many teeth can take more room than the disk has; finding that out only when
    // the disk is full would cost the time of writing it.
    if (auto noRoom = checkFreeSpace(dir, needed))
        return failure(CommandStatus::fileError, std::move(*noRoom));

    // The pair is measured on its drawn outlines before anything is written: its report joins
    // the set (and the JSON).
    if (request.pair) {
        mesh = checkPreparedMesh(prologue, request.backlash);
        meshReport = formatMeshReport(g.a, *mesh);
    }
    const std::string json =
        request.json
            ? formatJsonReport(input, g, defaultBallDiameter(input.mn), request.backlash, mesh)
            : "";

    if (!reportSink->write(report.data(), report.size()))
        return files.writeFailed(kReportFileName, *reportSink);
    if (request.json) {
        ByteSink* jsonSink = files.open(kJsonFileName);
        if (jsonSink == nullptr)
            return files.openFailed();
        if (!jsonSink->write(json.data(), json.size()))
            return files.writeFailed(kJsonFileName, *jsonSink);
    }

    // For the pair the teeth of both gears are walked for their own files, for the assembly and
    // for the assembly's SVG drawing when asked.
    const std::int64_t teeth = std::int64_t{input.z1} + (request.pair ? input.z2 : 0);
    const std::int64_t total = request.pair ? (pairSvgTitle ? 3 : 2) * teeth : teeth;
    if (auto failed = writeGear(files, gear, gear1Files, &console, progress, 0, total, threads))
        return std::move(*failed);
    if (request.pair) {
        if (auto failed = writeGear(files, *prologue.gear2, gear2Files, nullptr, progress, input.z1,
                                    total, threads))
            return std::move(*failed);
        if (auto failed = writePairFiles(files, assembly, pairSvgTitle, meshReport, progress, teeth,
                                         total, threads))
            return std::move(*failed);
    }
    CommandResult result = files.commit();
    if (result.ok())
        result.mesh = mesh;
    return result;
}

}  // namespace

CommandResult runFileCommand(const FileRequest& request, const std::filesystem::path& dir,
                             std::ostream& console, const ProgressCallback& progress,
                             const CommandSeams& seams) {
    // Unwinding removes every temporary; the earlier files were never touched.
    try {
        return writeFiles(request, dir, console, progress, seams);
    } catch (const std::bad_alloc&) {
        return failure(CommandStatus::fileError,
                       messages::joined(messages::kOutOfMemory, messages::kNothingWritten));
    }
}

}  // namespace kellvor
