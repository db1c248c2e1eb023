#include "cli/cli_design.h"

#include <ostream>
#include <system_error>

#include "cli/cli_messages.h"
#include "commands/command_messages.h"
#include "commands/single_file.h"
#include "commands/sweep_command.h"
#include "commands/sweep_rows.h"
#include "geometry/centre_distance.h"
#include "output/sweep_csv.h"

namespace kellvor {
namespace {

// The CSV rows on standard output: the sweep hands over whole blocks, the stream adds no copy.
class StreamSink final : public ByteSink {
  public:
    explicit StreamSink(std::ostream& out) : m_out(out) {}
    bool write(const char* data, std::size_t size) override {
        if (!m_out.write(data, static_cast<std::streamsize>(size)))
            m_error = std::make_error_code(std::io_errc::stream);
        return !m_error;
    }
    std::error_code error() const override { return m_error; }

  private:
    std::ostream& m_out;
    std::error_code m_error;
};

}  // namespace

std::optional<int> designShiftsForCentreDistance(CliOptions& o, std::ostream& out,
                                                 std::ostream& err) {
    if (!o.centreDistance)
        return std::nullopt;
    // The shifts need the other values in range; an entered shift is tested as well.
    if (const auto violation = findRangeViolation(o.input)) {
        err << messages::outOfRange(*violation) << '\n';
        return kExitOutOfRange;
    }
    const auto given = [&o](InputField field, double value) {
        return o.given[static_cast<std::size_t>(field)] ? std::optional<double>(value)
                                                        : std::nullopt;
    };
    const double a = *o.centreDistance;
    const ShiftDesign design = designShifts(o.input, a, given(InputField::x1, o.input.x1),
                                            given(InputField::x2, o.input.x2));
    if (design.error != ShiftDesignError::none) {
        err << cli_messages::shiftDesignFailed(a, touchingCentreDistance(o.input), design) << '\n';
        return kExitOutOfRange;
    }
    o.input.x1 = design.x1;
    o.input.x2 = design.x2;
    (o.jsonFile == "-" ? err : out) << cli_messages::chosenShifts(a, design.x1, design.x2) << '\n';
    return std::nullopt;
}

int runSweepCli(const CliOptions& o, std::ostream& out, std::ostream& err,
                const ProgressCallback& progress) {
    const SweepGrid grid{o.input, o.sweeps};
    const SweepRows rows = o.onlyOk ? SweepRows::onlyOk : SweepRows::all;
    const SweepRowFormatter format = [rows](const GearPairInput& point, std::string& text) {
        return appendSweepRow(point, rows, text);
    };
    SweepOutcome outcome;
    const auto sweep = [&](ByteSink& sink) {
        outcome = runSweep(grid, kSweepCsvHeader, format, sink, progress);
        return outcome.result;
    };
    const bool toStandardOutput = *o.csvFile == "-";
    CommandResult result;
    if (toStandardOutput) {
        StreamSink sink(out);
        result = sweep(sink);
        out.flush();
        if (result.ok() && !out)
            result = failure(CommandStatus::fileError, "");
        if (result.status == CommandStatus::fileError && result.message.empty())
            result.message = std::string(cli_messages::kStandardOutputFailed);
    } else {
        result = replaceSingleFileStreamed(*o.csvFile, sweep);
    }
    if (!result.ok()) {
        err << cli_messages::kProgramPrefix << result.message << '\n';
        return kExitFileError;
    }
    if (!toStandardOutput)
        out << cli_messages::sweepWritten(outcome.points, outcome.rows, *o.csvFile) << '\n';
    return kExitSuccess;
}

}  // namespace kellvor
