#include "ui/cli_preview.h"

#include <ostream>
#include <string>

#include "outline/root_arc.h"
#include "ui/png_writer.h"
#include "ui/preview_command.h"

namespace kellvor {

int runPreviewCli(const CliOptions& options, std::ostream& out, std::ostream& err) {
    // One run of the command line is one run of the program: its RootArc starts empty.
    RootArc arc;
    const PreviewResult preview =
        runPreviewCommand(options.input, arc, options.previewWidth, options.previewHeight, out);
    switch (preview.result.status) {
        case CommandStatus::ok:
            break;
        case CommandStatus::outOfRange:
            err << preview.result.message << '\n';  // the warning, then field and range
            return kExitOutOfRange;
        case CommandStatus::fitFailed:
        case CommandStatus::fileError:
        case CommandStatus::cancelled:
            err << "kellvor-cli: " << *options.previewFile << ": " << preview.result.message
                << '\n';
            return kExitFileError;
    }
    std::string error;
    if (!writePngFile(preview.image, *options.previewFile, error)) {
        err << "kellvor-cli: " << error << '\n';
        return kExitFileError;
    }
    return kExitSuccess;
}

}  // namespace kellvor
