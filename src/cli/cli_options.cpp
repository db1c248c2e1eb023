#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "cli/cli_messages.h"
#include "geometry/input_fields.h"
#include "geometry/number_parse.h"

namespace kellvor {
namespace {

// Largest side of a preview picture in pixels.
constexpr std::int32_t kMaxPreviewSide = 16384;

bool parsePreviewSize(std::string_view text, std::int32_t& w, std::int32_t& h) {
    const auto x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    const auto pw = parseInteger(text.substr(0, x));
    const auto ph = parseInteger(text.substr(x + 1));
    if (!pw || !ph || pw.value < 1 || ph.value < 1 || pw.value > kMaxPreviewSide ||
        ph.value > kMaxPreviewSide)
        return false;
    w = pw.value;
    h = ph.value;
    return true;
}

// Reads one option's text into its destination; false when the text is no value for it.
using ValueReader = std::function<bool(const std::string& text)>;

// Registers a value option whose text goes through read. A missing or unreadable value is kept
// as the first error; CLI11's own conversions and English messages are not used.
void addValueOption(CLI::App& app, const std::string& name, std::string& firstError,
                    ValueReader read) {
    app.add_option_function<std::string>(
           name,
           [&firstError, name, read = std::move(read)](const std::string& text) {
               if (!firstError.empty())
                   return;
               if (text.empty())
                   firstError = cli_messages::missingValue(name);
               else if (!read(text))
                   firstError = cli_messages::badValue(name, text);
           })
        ->expected(0, 1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// Registers an option whose value is one of the names of choices, each standing for a value;
// another text is refused with the allowed names.
template <typename T>
void addChoiceOption(CLI::App& app, const std::string& name, std::string& firstError,
                     std::vector<std::pair<std::string, T>> choices, T& target) {
    std::string allowed;
    for (const auto& choice : choices)
        allowed += (allowed.empty() ? "" : ", ") + choice.first;
    addValueOption(app, name, firstError,
                   [&firstError, &target, name, allowed, choices](const std::string& text) {
                       const auto it =
                           std::find_if(choices.begin(), choices.end(),
                                        [&](const auto& choice) { return choice.first == text; });
                       if (it != choices.end())
                           target = it->second;
                       else
                           firstError = cli_messages::badChoice(name, text, allowed);
                       return true;
                   });
}

// Reads one option's repeated texts; returns the German error of a text, or nothing.
using RepeatedReader = std::function<std::string(const std::string& text)>;

// Registers an option that may be given several times; read sees every text in order.
void addRepeatedOption(CLI::App& app, const std::string& name, std::string& firstError,
                       RepeatedReader read) {
    app.add_option_function<std::vector<std::string>>(
           name,
           [&firstError, name, read = std::move(read)](const std::vector<std::string>& texts) {
               for (const std::string& text : texts) {
                   if (!firstError.empty())
                       return;
                   firstError = text.empty() ? cli_messages::missingValue(name) : read(text);
               }
           })
        ->expected(0, 1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

// Reads NAME=FROM:TO:STEP into a sweep axis; the German error when it is none.
std::string readSweep(std::string_view text, std::vector<SweepAxis>& sweeps) {
    const auto eq = text.find('=');
    const InputFieldEntry* entry = nullptr;
    for (const InputFieldEntry& s : inputFields())
        if (s.option == text.substr(0, eq))
            entry = &s;
    if (eq == std::string_view::npos || entry == nullptr)
        return cli_messages::badSweep(text);
    double v[3] = {};
    std::string_view rest = text.substr(eq + 1);
    for (int i = 0; i < 3; ++i) {
        const auto colon = i < 2 ? rest.find(':') : rest.size();
        if (colon == std::string_view::npos)
            return cli_messages::badSweep(text);
        const std::string_view part = rest.substr(0, colon);
        rest = rest.substr(std::min(rest.size(), colon + 1));
        if (entry->type == FieldType::integer) {
            const auto n = parseInteger(part);
            if (!n)
                return cli_messages::badSweep(text);
            v[i] = n.value;
        } else {
            const auto r = parseReal(part);
            if (!r)
                return cli_messages::badSweep(text);
            v[i] = r.value;
        }
    }
    const SweepAxisResult axis = makeSweepAxis(entry->field, v[0], v[1], v[2]);
    if (!axis.axis)
        return cli_messages::sweepRefused(text, axis.error);
    for (const SweepAxis& earlier : sweeps)
        if (earlier.field == entry->field)
            return cli_messages::sweptTwice(entry->option);
    sweeps.push_back(*axis.axis);
    return {};
}

// The usage errors of designing a pair: options that exclude or need each other.
std::string checkDesign(const CliOptions& o) {
    const bool x1 = o.given[static_cast<std::size_t>(InputField::x1)];
    const bool x2 = o.given[static_cast<std::size_t>(InputField::x2)];
    if (o.centreDistance && x1 && x2)
        return cli_messages::bothShiftsWithCentreDistance();
    if (o.sweeps.empty()) {
        if (o.csvFile || o.onlyOk)
            return cli_messages::needs(o.csvFile ? "--csv" : "--only-ok", "--sweep");
        return {};
    }
    if (!o.csvFile)
        return cli_messages::needs("--sweep", "--csv FILE");
    if (o.centreDistance)
        return cli_messages::notTogether("--sweep", "--centre-distance");
    if (o.previewFile || o.check || o.jsonFile)
        return cli_messages::notTogether(
            "--sweep", o.previewFile ? "--preview" : (o.check ? "--check" : "--json"));
    if (checkSweepGrid(SweepGrid{o.input, o.sweeps}) != SweepError::none)
        return cli_messages::sweepRefused("", SweepError::tooManyPoints);
    return {};
}

}  // namespace

CliParseResult parseCliOptions(const std::vector<std::string_view>& args) {
    CliOptions o;
    std::string firstError;
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("-h,--help", o.showHelp);
    app.add_flag("--version", o.showVersion);
    app.add_flag("--recover", o.recover);

    // The eight values, named and typed by the one range table; the range test comes later.
    for (const InputFieldEntry& entry : inputFields()) {
        const InputField field = entry.field;
        addValueOption(app, "--" + std::string(entry.option), firstError,
                       [&o, field](const std::string& text) {
                           o.given[static_cast<std::size_t>(field)] = true;
                           if (std::int32_t* member = integerMember(o.input, field)) {
                               const auto v = parseInteger(text);
                               if (v)
                                   *member = v.value;
                               return static_cast<bool>(v);
                           }
                           const auto v = parseReal(text);
                           if (v)
                               *realMember(o.input, field) = v.value;
                           return static_cast<bool>(v);
                       });
    }
    addValueOption(app, "--output-dir", firstError, [&o](const std::string& text) {
        o.outputDir = text;
        return true;
    });
    addValueOption(app, "--preview", firstError, [&o](const std::string& text) {
        o.previewFile = text;
        return true;
    });
    addValueOption(app, "--preview-size", firstError, [&o](const std::string& text) {
        return parsePreviewSize(text, o.previewWidth, o.previewHeight);
    });
    // The verdict: findings and inspection dimensions on stdout, or the JSON report.
    app.add_flag("--check", o.check);
    addValueOption(app, "--json", firstError, [&o](const std::string& text) {
        o.jsonFile = text;
        return true;
    });
    addValueOption(app, "--ball", firstError, [&o](const std::string& text) {
        const auto v = parseReal(text);
        if (v)
            o.ballDiameter = v.value;
        return static_cast<bool>(v);
    });
    // The pair and its backlash; the backlash's range is tested with the other values.
    app.add_flag("--pair", o.pair);
    addValueOption(app, "--backlash", firstError, [&o](const std::string& text) {
        const auto v = parseReal(text);
        if (v)
            o.backlash = v.value;
        return static_cast<bool>(v);
    });
    addChoiceOption(app, "--root", firstError,
                    {{"arc", RootForm::threePointArc}, {"generated", RootForm::generated}}, o.root);
    app.add_flag("--svg", o.svg);
    addChoiceOption(app, "--dxf-style", firstError,
                    {{"minimal", DxfStyle::minimal}, {"cam", DxfStyle::cam}}, o.dxfStyle);
    app.add_flag("--verify", o.verify);
    // Designing a pair: shifts from a centre distance, sweeps over a grid of the eight values.
    addValueOption(app, "--centre-distance", firstError, [&o](const std::string& text) {
        const auto v = parseReal(text);
        if (v)
            o.centreDistance = v.value;
        return static_cast<bool>(v);
    });
    addRepeatedOption(app, "--sweep", firstError,
                      [&o](const std::string& text) { return readSweep(text, o.sweeps); });
    addValueOption(app, "--csv", firstError, [&o](const std::string& text) {
        o.csvFile = text;
        return true;
    });
    app.add_flag("--only-ok", o.onlyOk);

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        // What is left are malformed flags such as "--help=yes".
        return {std::nullopt,
                firstError.empty() ? cli_messages::unknownOption(e.get_name()) : firstError};
    }
    if (!firstError.empty())
        return {std::nullopt, firstError};
    if (const auto extras = app.remaining(); !extras.empty())
        return {std::nullopt, cli_messages::unknownOption(extras.front())};
    if (o.previewFile && (o.check || o.jsonFile))
        return {std::nullopt,
                cli_messages::notTogether("--preview", o.check ? "--check" : "--json")};
    if (o.check && o.jsonFile == "-")
        return {std::nullopt, cli_messages::bothOnStandardOutput("--check", "--json -")};
    if (std::string design = checkDesign(o); !design.empty())
        return {std::nullopt, design};
    if (o.recover && o.previewFile)
        return {std::nullopt, std::string(cli_messages::kRecoverWithPreview)};
    return {o, {}};
}

}  // namespace kellvor
