#include "ui/cli_run.h"

#include <unistd.h>

#include <chrono>
#include <ostream>

#include "outline/root_arc.h"
#include "output/file_command.h"
#include "ui/cli_options.h"
#include "ui/cli_preview.h"
#include "ui/cli_progress.h"

namespace kellvor {

int runCli(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    const CliParseResult parsed = parseCliOptions(args);
    if (!parsed.options) {
        err << "kellvor-cli: " << parsed.error << "\n(--help zeigt die Optionen)\n";
        return kExitUsage;
    }
    const CliOptions& o = *parsed.options;
    if (o.showHelp) {
        out << cliUsage();
        return kExitSuccess;
    }
    if (o.showVersion) {
        out << "kellvor-cli " << KELLVOR_VERSION << '\n';
        return kExitSuccess;
    }
    if (o.previewFile)
        return runPreviewCli(o, out, err);
    // The run's one RootArc; the file command fits and turns it.
    RootArc arc;
    // A large gear takes a while: on a terminal the teeth written are counted on one line.
    ProgressCallback progress;
    if (::isatty(STDERR_FILENO) == 1)
        progress = makeTerminalProgress(err, std::chrono::milliseconds(500));
    const CommandResult result = runFileCommand(o.input, arc, o.outputDir, out, progress);
    switch (result.status) {
        case CommandStatus::ok:
            return kExitSuccess;
        case CommandStatus::outOfRange:
            err << result.message << '\n';  // the warning, then the field and its range
            return kExitOutOfRange;
        case CommandStatus::fitFailed:
        case CommandStatus::fileError:
        case CommandStatus::cancelled:
            break;
    }
    err << "kellvor-cli: " << result.message << '\n';
    return kExitFileError;
}

}  // namespace kellvor
