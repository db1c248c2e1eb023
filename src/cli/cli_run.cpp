#include "cli/cli_run.h"

#include <unistd.h>

#include <chrono>
#include <ostream>

#include "cli/cli_design.h"
#include "cli/cli_messages.h"
#include "cli/cli_options.h"
#include "cli/cli_progress.h"
#include "cli/cli_verdict.h"
#include "commands/command_messages.h"
#include "commands/file_command.h"
#include "commands/preview_command.h"

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

// Reports a failed command on err and gives its exit code. The range warning and the reason a
// gear cannot be drawn stand alone; file errors carry the program's name.
int reportFailure(const CommandResult& result, std::ostream& err) {
    const int code = exitCodeOf(result.status);
    if (code == kExitOutOfRange)
        err << result.message << '\n';
    else
        err << cli_messages::kProgramPrefix << result.message << '\n';
    return code;
}

// A large gear takes a while: on a terminal the work done is counted on one line.
ProgressCallback terminalProgress(std::ostream& err, std::string_view label = {}) {
    if (::isatty(STDERR_FILENO) != 1)
        return {};
    return makeTerminalProgress(err, std::chrono::milliseconds(500), label);
}

int runPreview(const CliOptions& o, std::ostream& out, std::ostream& err) {
    const PreviewResult preview = runPreviewCommand(
        PreviewRequest{o.input, o.previewWidth, o.previewHeight, o.backlash, o.pair, o.root}, out,
        terminalProgress(err));
    if (!preview.result.ok())
        return reportFailure(preview.result, err);
    const CommandResult written = writePreviewPicture(preview.image, *o.previewFile);
    if (!written.ok())
        return reportFailure(written, err);
    return kExitSuccess;
}

}  // namespace

int runCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    const CliParseResult parsed = parseCliOptions(args);
    if (!parsed.options) {
        err << cli_messages::kProgramPrefix << parsed.error << '\n'
            << cli_messages::kSeeHelp << '\n';
        return kExitUsage;
    }
    CliOptions o = *parsed.options;
    if (o.showHelp) {
        out << cli_messages::usage();
        return kExitSuccess;
    }
    if (o.showVersion) {
        out << "kellvor-cli " << KELLVOR_VERSION << '\n';
        return kExitSuccess;
    }
    // Designing a pair: the shifts for a centre distance are used as if entered; a sweep
    // replaces every other command.
    if (const auto failed = designShiftsForCentreDistance(o, out, err))
        return *failed;
    if (!o.sweeps.empty())
        return runSweepCli(o, out, err, terminalProgress(err, cli_messages::kPointsProgress));
    if (const auto rejected = rejectBall(o, err))
        return *rejected;
    if (o.check || o.jsonFile)
        return runVerdict(o, out, err);
    if (o.previewFile) {
        const int code = runPreview(o, out, err);
        printFindings(o.input, err);
        return code;
    }
    FileRequest request;
    request.input = o.input;
    request.backlash = o.backlash;
    request.pair = o.pair;
    request.root = o.root;
    request.svg = o.svg;
    request.verify = o.verify;
    const CommandResult result = runFileCommand(request, o.outputDir, out, terminalProgress(err));
    const int code = result.ok() ? kExitSuccess : reportFailure(result, err);
    // The files are what was asked for; teeth that interfere are said, not refused.
    if (result.mesh && result.mesh->interferencePhi1)
        err << cli_messages::kProgramPrefix
            << messages::interference(*result.mesh->interferencePhi1) << '\n';
    printFindings(o.input, err);
    return code;
}

}  // namespace kellvor
