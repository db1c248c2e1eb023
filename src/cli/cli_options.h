// Command-line options of kellvor-cli, parsed by CLI11 with Kellvor's strict number parser
// (C locale, whole argument) and German messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/sweep_grid.h"
#include "geometry/gear_pair_input.h"
#include "geometry/input_fields.h"
#include "outline/generated_root.h"
#include "output/cam_drawing.h"

namespace kellvor {

// Exit codes of kellvor-cli.
enum ExitCode : int {
    kExitSuccess = 0,       // all files written, or the picture
    kExitFileError = 1,     // a file could not be written; earlier files unchanged
    kExitUsage = 2,         // unknown option or unparsable number
    kExitOutOfRange = 3,    // values fail the range test or give no drawable gear; nothing written
    kExitFindingError = 4,  // --check: a finding is a Fehler
    kExitSignalBase = 128,  // plus the signal's number: stopped by SIGINT, SIGTERM or SIGHUP
};

// What the command line asks for.
struct CliOptions {
    GearPairInput input;                      // the eight values, defaults as in the dialog
    std::string outputDir = ".";              // folder that receives the three files
    std::optional<std::string> previewFile;   // --preview: write only this PNG picture
    std::int32_t previewWidth = 208;          // --preview-size W
    std::int32_t previewHeight = 194;         // --preview-size H
    bool check = false;                       // --check: findings and inspection dimensions
    std::optional<std::string> jsonFile;      // --json: the JSON report to this file, "-" stdout
    std::optional<double> ballDiameter;       // --ball: ball diameter for Md, in mm
    double backlash = 0;                      // --backlash JN: normal backlash in mm
    bool pair = false;                        // --pair: gear 2, the assembly and the mesh check
    RootForm root = RootForm::threePointArc;  // --root arc|generated
    bool svg = false;                         // --svg: zahnrad.svg as well
    DxfStyle dxfStyle = DxfStyle::minimal;    // --dxf-style minimal|cam
    bool verify = false;                      // --verify: check the drawing before the switch
    // Designing a pair.
    std::array<bool, kFieldCount> given{};  // which of the eight values were given, by field
    std::optional<double> centreDistance;   // --centre-distance: x1 + x2 for this a, in mm
    std::vector<SweepAxis> sweeps;          // --sweep, in the order given (the last fastest)
    std::optional<std::string> csvFile;     // --csv: the sweep's rows to this file, "-" stdout
    bool onlyOk = false;                    // --only-ok: rows without Warnung or Fehler
    bool recover = false;                   // --recover: only recover the output folder
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
