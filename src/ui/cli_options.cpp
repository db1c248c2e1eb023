#include "ui/cli_options.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kellvor {
namespace {

std::string_view withoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        return text.substr(1);
    return text;
}

// Option name and value, for "--name value" and "--name=value".
struct NamedValue {
    std::string_view name;
    std::optional<std::string_view> inlineValue;
};

NamedValue splitOption(std::string_view arg) {
    const auto eq = arg.find('=');
    if (eq == std::string_view::npos)
        return {arg, std::nullopt};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

bool assignText(std::string_view value, std::string& field) {
    field = value;
    return !value.empty();
}

bool parsePreviewSize(std::string_view text, std::int32_t& w, std::int32_t& h) {
    const auto x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    const auto pw = parseStrictInt(text.substr(0, x));
    const auto ph = parseStrictInt(text.substr(x + 1));
    if (!pw || !ph || *pw < 1 || *ph < 1 || *pw > 16384 || *ph > 16384)
        return false;
    w = *pw;
    h = *ph;
    return true;
}

}  // namespace

std::optional<std::int32_t> parseStrictInt(std::string_view text) {
    text = withoutPlus(text);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> parseStrictReal(std::string_view text) {
    text = withoutPlus(text);
    double value = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

CliParseResult parseCliOptions(const std::vector<std::string_view>& args) {
    CliOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto [name, inlineValue] = splitOption(args[i]);
        if (name == "--help" || name == "-h") {
            o.showHelp = true;
            continue;
        }
        if (name == "--version") {
            o.showVersion = true;
            continue;
        }
        std::string_view value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return {std::nullopt, "Option " + std::string(name) + " braucht einen Wert"};
        }
        const auto bad = [&] {
            return CliParseResult{std::nullopt, "Ungueltiger Wert fuer " + std::string(name) +
                                                    ": \"" + std::string(value) + "\""};
        };
        const auto intField = [&](std::int32_t& field) {
            const auto v = parseStrictInt(value);
            if (v)
                field = *v;
            return v.has_value();
        };
        const auto realField = [&](double& field) {
            const auto v = parseStrictReal(value);
            if (v)
                field = *v;
            return v.has_value();
        };
        bool ok = true;
        if (name == "--z1")
            ok = intField(o.input.z1);
        else if (name == "--z2")
            ok = intField(o.input.z2);
        else if (name == "--mn")
            ok = realField(o.input.mn);
        else if (name == "--b")
            ok = realField(o.input.b);
        else if (name == "--beta")
            ok = realField(o.input.beta);
        else if (name == "--x1")
            ok = realField(o.input.x1);
        else if (name == "--x2")
            ok = realField(o.input.x2);
        else if (name == "--segments")
            ok = intField(o.input.segmentCount);
        else if (name == "--output-dir")
            ok = assignText(value, o.outputDir);
        else if (name == "--preview")
            ok = assignText(value, o.previewFile.emplace());
        else if (name == "--preview-size")
            ok = parsePreviewSize(value, o.previewWidth, o.previewHeight);
        else
            return {std::nullopt, "Unbekannte Option " + std::string(name)};
        if (!ok)
            return bad();
    }
    return {o, {}};
}

std::string cliUsage() {
    return "Aufruf: kellvor-cli [Optionen]\n"
           "Berechnet ein aeusseres Stirnradpaar und schreibt zahnradwerte.txt, zahnrad.txt\n"
           "und zahnrad.dxf (Kontur von Zahnrad 1).\n\n"
           "  --z1 N            Zaehnezahl Zahnrad 1 (>= 4, Vorgabe 17)\n"
           "  --z2 N            Zaehnezahl Zahnrad 2 (>= 4, Vorgabe 40)\n"
           "  --mn X            Normalmodul (0.5 .. 50, Vorgabe 8)\n"
           "  --b X             Zahnbreite (> 0, Vorgabe 45)\n"
           "  --beta X          Schraegungswinkel in Grad (0 .. 30, Vorgabe 20)\n"
           "  --x1 X            Profilverschiebungsfaktor Zahnrad 1 (-0.5 .. 0.5, Vorgabe 0)\n"
           "  --x2 X            Profilverschiebungsfaktor Zahnrad 2 (-0.5 .. 0.5, Vorgabe 0)\n"
           "  --segments N      Elemente je Evolvente (0 .. 499, Vorgabe 10)\n"
           "  --output-dir DIR  Zielordner (Vorgabe: aktueller Ordner)\n"
           "  --preview FILE    nur die Vorschau als PNG-Bild schreiben\n"
           "  --preview-size WxH  Bildgroesse der Vorschau (Vorgabe 208x194)\n"
           "  --help            diese Hilfe\n"
           "  --version         Versionsnummer\n\n"
           "Exit-Codes: 0 Erfolg, 1 Dateifehler, 2 Aufruffehler, 3 Werte ausserhalb des Bereichs\n";
}

}  // namespace kellvor
