#include "ui/cli_run.h"

#include <ostream>

#include "geometry/input_validation.h"
#include "outline/root_arc.h"
#include "output/file_command.h"
#include "ui/cli_options.h"
#include "ui/cli_preview.h"

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
    if (const auto violation = findRangeViolation(o.input)) {
        err << kRangeWarningText << '\n' << describeRangeViolation(*violation) << '\n';
        return kExitOutOfRange;
    }
    // The run's one RootArc; the file command fits and turns it.
    RootArc arc;
    const CommandResult result = runFileCommand(o.input, arc, o.outputDir, out);
    if (result.status != CommandStatus::ok) {
        err << "kellvor-cli: " << result.message << '\n';
        return kExitFileError;
    }
    return kExitSuccess;
}

}  // namespace kellvor
