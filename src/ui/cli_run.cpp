#include "ui/cli_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "geometry/gear_pair_geometry.h"
#include "geometry/geometry_report.h"
#include "geometry/input_validation.h"
#include "ui/cli_options.h"

namespace kellvor {
namespace {

// Writes text to a temporary file beside path and renames it over path only when complete.
bool writeFileSafely(const std::filesystem::path& path, const std::string& text,
                     std::string& error) {
    const std::filesystem::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            error = path.string() + ": Datei kann nicht geschrieben werden";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        error = path.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

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
    if (const auto violation = findRangeViolation(o.input)) {
        err << kRangeWarningText << '\n' << describeRangeViolation(*violation) << '\n';
        return kExitOutOfRange;
    }
    const GearPairGeometry geometry = computeGearPairGeometry(o.input);
    std::string error;
    if (!writeFileSafely(std::filesystem::path(o.outputDir) / kReportFileName,
                         formatGeometryReport(o.input, geometry), error)) {
        err << "kellvor-cli: " << error << '\n';
        return kExitFileError;
    }
    return kExitSuccess;
}

}  // namespace kellvor
