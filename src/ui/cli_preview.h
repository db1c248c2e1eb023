// The --preview branch of kellvor-cli: the preview picture written as a PNG file.
#pragma once

#include <iosfwd>

#include "ui/cli_options.h"

namespace kellvor {

// Runs the preview command for options.input at options.previewWidth x previewHeight, writes the
// "n: " line to out and the picture to *options.previewFile (which must be set). Returns the exit
// code: 0, 3 out of range (message to err, nothing written), 1 no picture could be written.
int runPreviewCli(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kellvor
