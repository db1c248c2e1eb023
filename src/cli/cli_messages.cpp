#include "cli/cli_messages.h"

#include <cmath>

#include "geometry/printable.h"
#include "geometry/real_format.h"

namespace kellvor::cli_messages {

std::string usage() {
    return "Aufruf: kellvor-cli [Optionen]\n"
           "Berechnet ein außenverzahntes Stirnradpaar und schreibt zahnradwerte.txt,\n"
           "zahnrad.txt und zahnrad.dxf (Kontur von Zahnrad 1).\n\n"
           "  --z1 N              Zähnezahl Zahnrad 1 (≥ 4, Vorgabe 17)\n"
           "  --z2 N              Zähnezahl Zahnrad 2 (≥ 4, Vorgabe 40)\n"
           "  --mn X              Normalmodul in mm (0.5 bis 50, Vorgabe 8)\n"
           "  --b X               Zahnbreite in mm (> 0, Vorgabe 45)\n"
           "  --beta X            Schrägungswinkel in Grad (0 bis 30, Vorgabe 20)\n"
           "  --x1 X              Profilverschiebungsfaktor Zahnrad 1 (-0.5 bis 0.5, Vorgabe 0)\n"
           "  --x2 X              Profilverschiebungsfaktor Zahnrad 2 (-0.5 bis 0.5, Vorgabe 0)\n"
           "  --segments N        Elemente je Evolvente (0 bis 499, Vorgabe 10)\n"
           "  --output-dir DIR    Zielordner (Vorgabe: aktueller Ordner)\n"
           "  --preview FILE      nur die Vorschau als PNG-Bild schreiben\n"
           "  --preview-size WxH  Bildgröße der Vorschau (Vorgabe 208x194)\n"
           "  --pair              auch Zahnrad 2, den Zusammenbau (zahnrad2.dxf, zahnrad2.txt,\n"
           "                      zahnradpaar.dxf) und die Eingriffsprüfung (eingriff.txt);\n"
           "                      mit --preview beide Zahnräder im Bild\n"
           "  --backlash JN       Flankenspiel jn in mm (0 ≤ jn < 0,5·mn, Vorgabe 0)\n"
           "  --check             Befunde und Prüfmaße ausgeben, keine Dateien schreiben\n"
           "  --json FILE         Werte, Befunde und Prüfmaße als JSON in FILE (- für die\n"
           "                      Standardausgabe) statt der drei Dateien\n"
           "  --ball D            Messkugeldurchmesser in mm für Md (Vorgabe 1.68·mn)\n"
           "  --root arc|generated  Zahnfuß: Kreisbogen durch drei Punkte (arc, Vorgabe) oder\n"
           "                      vom Bezugsprofil erzeugte Fußrundung (generated)\n"
           "  --svg               zahnrad.svg zusätzlich schreiben\n"
           "  --verify            geschriebene Zeichnung vor dem Ersetzen zurücklesen und prüfen\n"
           "  --help              diese Hilfe\n"
           "  --version           Versionsnummer\n\n"
           "Zahlen im C-Format (Dezimalpunkt), auch als --name=wert.\n"
           "Befunde (Hinweis, Warnung, Fehler) stehen nach jedem Lauf auf der Fehlerausgabe.\n"
           "Exit-Codes: 0 Erfolg, 1 Dateifehler, 2 Aufruffehler, 3 Werte außerhalb des\n"
           "Bereichs oder nicht darstellbares Zahnrad, 4 mit --check: ein Befund ist ein Fehler\n";
}

std::string missingValue(std::string_view option) {
    return "Option " + printable(option) + " braucht einen Wert";
}

std::string badValue(std::string_view option, std::string_view value) {
    return "Ungültiger Wert für " + printable(option) + ": \"" + printable(value) + "\"";
}

std::string notTogether(std::string_view first, std::string_view second) {
    return std::string(first) + " und " + std::string(second) +
           " lassen sich nicht zusammen angeben";
}

std::string bothOnStandardOutput(std::string_view first, std::string_view second) {
    return std::string(first) + " und " + std::string(second) +
           " schreiben beide auf die Standardausgabe";
}

namespace {

std::string range(const BallRange& r) {
    std::string t;
    appendReal(t, r.min, 4);
    if (std::isinf(r.max))
        return "DM ≥ " + t + " mm";
    t = t + " ≤ DM ≤ ";
    appendReal(t, r.max, 4);
    return t + " mm";
}

}  // namespace

std::string ballOutOfRange(double DM, const BallRange& gear1, const BallRange& gear2) {
    std::string t = "Option --ball: eine Messkugel mit DM = ";
    appendReal(t, DM, 6);
    return t +
           " mm berührt die Flanken keines Zahnrads zwischen Evolventenbeginn und Kopfkreis; "
           "erlaubt ist " +
           range(gear1) + " für Zahnrad 1 oder " + range(gear2) + " für Zahnrad 2";
}

std::string badChoice(std::string_view option, std::string_view value, std::string_view choices) {
    return badValue(option, value) + " (erlaubt: " + std::string(choices) + ")";
}

std::string unknownOption(std::string_view argument) {
    if (!argument.empty() && argument.front() == '-')
        return "Unbekannte Option " + printable(argument.substr(0, argument.find('=')));
    return "Unerwartetes Argument \"" + printable(argument) + "\"";
}

}  // namespace kellvor::cli_messages
