#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <functional>

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
    for (const InputFieldSpec& spec : inputFields()) {
        const InputField field = spec.field;
        addValueOption(app, "--" + std::string(spec.option), firstError,
                       [&o, field](const std::string& text) {
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
    if (o.recover && o.previewFile)
        return {std::nullopt, std::string(cli_messages::kRecoverWithPreview)};
    return {o, {}};
}

}  // namespace kellvor
