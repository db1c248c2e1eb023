#include "cli/cli_run.h"

#include <unistd.h>

#include <chrono>
#include <new>
#include <ostream>

#include "cli/cli_design.h"
#include "cli/cli_messages.h"
#include "cli/cli_options.h"
#include "cli/cli_process.h"
#include "cli/cli_progress.h"
#include "cli/cli_verdict.h"
#include "commands/command_messages.h"
#include "commands/file_command.h"
#include "commands/preview_command.h"
#include "commands/recover_command.h"

namespace kellvor {
namespace {

int exitCodeOf(CommandStatus status) {
    switch (status) {
        case CommandStatus::ok:
            return kExitSuccess;
        case CommandStatus::outOfRange:
        case CommandStatus::notDrawable:
            return kExitOutOfRange;
        case CommandStatus::fitFailed:
        case CommandStatus::fileError:
        case CommandStatus::cancelled:
            break;
    }
    return kExitFileError;
}

// Reports how a command ended on err and gives the exit code. A signal decides the code
// whatever the command did; the range warning and the reason a gear cannot be drawn stand
// alone; file errors carry the program's name.
int finish(const CommandResult& result, std::ostream& err) {
    if (const int sig = pendingSignal(); sig != 0) {
        err << cli_messages::kProgramPrefix << cli_messages::signalled(sig, result.message) << '\n';
        return kExitSignalBase + sig;
    }
    const int code = exitCodeOf(result.status);
    if (code == kExitOutOfRange)
        err << result.message << '\n';
    else if (code != kExitSuccess)
        err << cli_messages::kProgramPrefix << result.message << '\n';
    return code;
}

// The commands' progress: a signal cancels the work at the next tooth, at the next look at a
// busy folder's lock, or at the last question before files change. On a terminal a large gear's
// teeth (or a sweep's points, with label) are counted and a wait for another run's folder is
// announced after half a second.
ProgressCallback commandProgress(std::ostream& err, const std::filesystem::path& folder,
                                 std::string_view label = {}) {
    ProgressCallback terminal;
    if (::isatty(STDERR_FILENO) == 1)
        terminal = makeTerminalProgress(err, std::chrono::milliseconds(500),
                                        cli_messages::waitingForFolder(folder.string()), label);
    return [terminal](std::int64_t done, std::int64_t total) {
        if (pendingSignal() != 0)
            return false;
        return !terminal || terminal(done, total);
    };
}

int runPreview(const CliOptions& o, std::ostream& out, std::ostream& err) {
    const std::filesystem::path file = *o.previewFile;
    const ProgressCallback progress =
        commandProgress(err, file.has_parent_path() ? file.parent_path() : ".");
    const PreviewResult preview = runPreviewCommand(
        PreviewRequest{o.input, o.previewWidth, o.previewHeight, o.backlash, o.pair, o.root}, out,
        progress);
    if (!preview.result.ok())
        return finish(preview.result, err);
    return finish(writePreviewPicture(preview.image, file, progress), err);
}

int runFiles(const CliOptions& o, std::ostream& out, std::ostream& err) {
    FileRequest request;
    request.input = o.input;
    request.backlash = o.backlash;
    request.pair = o.pair;
    request.root = o.root;
    request.svg = o.svg;
    request.dxfStyle = o.dxfStyle;
    request.verify = o.verify;
    const CommandResult result =
        runFileCommand(request, o.outputDir, out, commandProgress(err, o.outputDir));
    const int code = finish(result, err);
    // The files are what was asked for; teeth that interfere are said, not refused.
    if (result.mesh && result.mesh->interferencePhi1)
        err << cli_messages::kProgramPrefix
            << messages::interference(*result.mesh->interferencePhi1) << '\n';
    return code;
}

int runParsed(CliOptions o, std::ostream& out, std::ostream& err) {
    if (o.showHelp) {
        out << cli_messages::usage();
        return kExitSuccess;
    }
    if (o.showVersion) {
        out << "kellvor-cli " << KELLVOR_VERSION << '\n';
        return kExitSuccess;
    }
    if (o.recover)
        return finish(runRecoverCommand(o.outputDir, out, commandProgress(err, o.outputDir)), err);
    // Designing a pair: the shifts for a centre distance are used as if entered; a sweep
    // replaces every other command.
    if (const auto failed = designShiftsForCentreDistance(o, out, err))
        return *failed;
    if (!o.sweeps.empty()) {
        const std::filesystem::path csv = o.csvFile.value_or("-");
        return runSweepCli(o, out, err,
                           commandProgress(err, csv.has_parent_path() ? csv.parent_path() : ".",
                                           cli_messages::kPointsProgress));
    }
    if (const auto rejected = rejectBall(o, err))
        return *rejected;
    if (o.check || o.jsonFile)
        return runVerdict(o, out, err);
    const int code = o.previewFile ? runPreview(o, out, err) : runFiles(o, out, err);
    // The verdict on the values follows every run that computed them.
    if (code < kExitSignalBase)
        printFindings(o.input, err);
    return code;
}

}  // namespace

int runCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    try {
        const CliParseResult parsed = parseCliOptions(args);
        if (!parsed.options) {
            err << cli_messages::kProgramPrefix << parsed.error << '\n'
                << cli_messages::kSeeHelp << '\n';
            return kExitUsage;
        }
        return runParsed(*parsed.options, out, err);
    } catch (const std::bad_alloc&) {
        // The commands end their own work on a failed allocation; this catches the rest.
        err << cli_messages::kProgramPrefix << messages::kOutOfMemory << '\n';
        return kExitFileError;
    }
}

}  // namespace kellvor
