// Command-line options of kellvor-cli, parsed by CLI11 with Kellvor's strict number parser
// (C locale, whole argument) and German messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/gear_pair_input.h"

namespace kellvor {

// Exit codes of kellvor-cli.
enum ExitCode : int {
    kExitSuccess = 0,       // all files written, or the picture
    kExitFileError = 1,     // a file could not be written; earlier files unchanged
    kExitUsage = 2,         // unknown option or unparsable number
    kExitOutOfRange = 3,    // values fail the range test or give no drawable gear; nothing written
    kExitSignalBase = 128,  // plus the signal's number: stopped by SIGINT, SIGTERM or SIGHUP
};

// What the command line asks for.
struct CliOptions {
    GearPairInput input;                     // the eight values, defaults as in the dialog
    std::string outputDir = ".";             // folder that receives the three files
    std::optional<std::string> previewFile;  // --preview: write only this PNG picture
    std::int32_t previewWidth = 208;         // --preview-size W
    std::int32_t previewHeight = 194;        // --preview-size H
    bool recover = false;                    // --recover: only recover the output folder
    bool showHelp = false;
    bool showVersion = false;
};

// Either the options or a German usage error naming the offending option.
struct CliParseResult {
    std::optional<CliOptions> options;
    std::string error;
};

// Parses the arguments after the program name; a repeated option takes its last value.
CliParseResult parseCliOptions(const std::vector<std::string_view>& args);

}  // namespace kellvor
