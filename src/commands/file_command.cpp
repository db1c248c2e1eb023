#include "commands/file_command.h"

#include <new>
#include <ostream>
#include <utility>
#include <vector>

#include "commands/command_messages.h"
#include "commands/lock_wait.h"
#include "geometry/geometry_report.h"
#include "outline/gear_outline.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/dxf_writer.h"
#include "output/file_names.h"
#include "output/free_space.h"
#include "output/output_messages.h"
#include "output/replacement_files.h"
#include "output/tooth_relay.h"
#include "output/trace_writer.h"

namespace kellvor {
namespace {

// One block being filled per file and up to four on their way to the disk.
constexpr std::size_t kBlocksInUse = 6;

CommandResult cancelledResult() {
    return failure(CommandStatus::cancelled,
                   messages::joined(messages::kCancelled, messages::kNothingWritten));
}

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
        return m_files.cancelled() ? cancelledResult()
                                   : failure(CommandStatus::fileError, m_files.message());
    }
    // Tells console what the recovery of the folder did, when it did or found anything.
    void reportRecovery(std::ostream& console) const {
        const RecoveryReport& r = m_files.recovery();
        if (r.changed() || !r.leftAlone.empty())
            console << describeRecovery(r, m_dir) << std::endl;
    }
    // Moves all files into place together, unless progress says stop at the last moment.
    CommandResult commit() {
        if (m_files.commit([this] { return stillWanted(m_progress); }))
            return CommandResult{};
        return m_files.cancelled() ? cancelledResult()
                                   : failure(CommandStatus::fileError, m_files.message());
    }

  private:
    std::filesystem::path m_dir;
    ReplacementFiles m_files;
    const SinkWrapper& m_wrap;
    const ProgressCallback& m_progress;
    std::vector<std::unique_ptr<ByteSink>> m_wrappers;
};

CommandResult writeFiles(const FileRequest& request, const std::filesystem::path& dir,
                         std::ostream& console, const ProgressCallback& progress,
                         const CommandSeams& seams) {
    const GearPairInput& input = request.input;
    Prologue prologue = runPrologue(input, console, messages::kNothingWritten, seams.fit);
    if (!prologue.gear)
        return prologue.result;
    const PreparedGear& gear = *prologue.gear;
    const std::string report = formatGeometryReport(input, gear.geometry);
    const std::int32_t n = gear.profile.count();

    // Opening the first file locks the folder (waiting for another run) and finishes or
    // clears what a dead run left, which may free space.
    OutputFiles files(dir, seams.wrap, progress);
    ByteSink* reportSink = files.open(kReportFileName);
    if (reportSink == nullptr)
        return files.openFailed();
    files.reportRecovery(console);

    // A drawing of many teeth can take more room than the disk has; finding that out only when
    // the disk is full would cost the time of writing it.
    if (auto noRoom = checkFreeSpace(dir, maxOutputBytes(report.size(), input.z1, n)))
        return failure(CommandStatus::fileError, std::move(*noRoom));

    if (!reportSink->write(report.data(), report.size()))
        return files.writeFailed(kReportFileName, *reportSink);

    // The drawing of a large gear is hundreds of megabytes and formatting its numbers is the
    // bulk of the work: this thread formats the drawing while the background writer's thread
    // writes its blocks (the bench's single-threaded row shows what that buys), and the trace is
    // formatted and written on a thread of its own (see the walk below).
    BackgroundWriter background(kBlockBytes, kBlocksInUse, !seams.withoutThreads);
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

    // Each tooth goes to both files the moment it is built; the walk stops at the first write
    // that fails, since nothing of this run will be kept then. The trace relay's thread formats
    // the trace while this thread formats the drawing.
    ToothRelay traceRelay([&trace](const OutlineTooth& tooth) { return trace.writeTooth(tooth); },
                          kRelaySlots, !seams.withoutThreads);
    bool cancelled = false;
    const std::int64_t total = input.z1;
    walkGearOutline(gear.profile, gear.arc, input.z1, [&](const OutlineTooth& tooth) {
        const bool traced = traceRelay.push(tooth);
        const bool drawn = drawing.writeTooth(tooth);
        if (!traced || !drawn)
            return false;
        if (progress && !progress(std::int64_t{tooth.index} + 1, total)) {
            cancelled = true;
            return false;
        }
        return true;
    });
    const bool traced = traceRelay.finish();
    if (cancelled)
        return cancelledResult();
    if (!traced)
        return files.writeFailed(kTraceFileName, *traceSink);
    if (!drawing.close())
        return files.writeFailed(kDrawingFileName, *drawingSink);
    if (!trace.close())
        return files.writeFailed(kTraceFileName, *traceSink);
    return files.commit();
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
