#include "cli/cli_messages.h"

#include <cmath>
#include <csignal>

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
           "  --svg               zahnrad.svg zusätzlich schreiben (mit --pair auch\n"
           "                      zahnrad2.svg und zahnradpaar.svg)\n"
           "  --dxf-style minimal|cam  DXF-Zeichnungen: nur LINE und ARC (minimal, Vorgabe)\n"
           "                      oder CAM-fertig mit Kopf, Layer und einer geschlossenen\n"
           "                      Polylinie je Zahnrad (cam)\n"
           "  --verify            geschriebene Zeichnung vor dem Ersetzen zurücklesen und prüfen\n"
           "  --centre-distance A Achsabstand in mm: x1 + x2 dafür; mit --x1 oder --x2 ist\n"
           "                      der andere der Rest, sonst gleiches spezifisches Gleiten\n"
           "  --sweep NAME=VON:BIS:SCHRITT\n"
           "                      einen der acht Werte (z1, z2, mn, b, beta, x1, x2,\n"
           "                      segments) über einen Bereich variieren, wiederholbar\n"
           "  --csv FILE          je Rasterpunkt eine CSV-Zeile in FILE (- für die\n"
           "                      Standardausgabe)\n"
           "  --only-ok           nur Zeilen ohne Warnung und Fehler\n"
           "  --recover           nur aufräumen: den Dateiwechsel eines abgebrochenen Laufs im\n"
           "                      Zielordner abschließen, Reste entfernen\n"
           "  --help              diese Hilfe\n"
           "  --version           Versionsnummer\n\n"
           "Zahlen im C-Format (Dezimalpunkt), auch als --name=wert.\n"
           "Befunde (Hinweis, Warnung, Fehler) stehen nach jedem Lauf auf der Fehlerausgabe.\n"
           "Exit-Codes: 0 Erfolg, 1 Dateifehler, 2 Aufruffehler, 3 Werte außerhalb des\n"
           "Bereichs oder nicht darstellbares Zahnrad, 4 mit --check: ein Befund ist ein\n"
           "Fehler, 128 + n abgebrochen durch Signal n (SIGHUP 129, SIGINT 130, SIGTERM 143)\n";
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

std::string chosenShifts(double a, double x1, double x2) {
    std::string t = "Profilverschiebung für den Achsabstand a = ";
    appendShortestReal(t, a);
    t += " mm: x1 = ";
    appendShortestReal(t, x1);
    t += ", x2 = ";
    appendShortestReal(t, x2);
    return t;
}

std::string shiftDesignFailed(double a, double touching, const ShiftDesign& design) {
    std::string t = "Option --centre-distance: zum Achsabstand a = ";
    appendShortestReal(t, a);
    t += " mm ";
    switch (design.error) {
        case ShiftDesignError::noWorkingAngle:
            t += "gibt es keinen Betriebseingriffswinkel; a muss größer sein als ad·cos αt = ";
            appendReal(t, touching, 10);
            return t + " mm";
        case ShiftDesignError::shiftOutOfRange:
            t += "gehört x" + std::to_string(design.gear) + " = ";
            appendReal(t, design.value, 10);
            return t + " für Zahnrad " + std::to_string(design.gear) + "; erlaubt ist -0.5 ≤ x" +
                   std::to_string(design.gear) + " ≤ 0.5";
        case ShiftDesignError::noBalance:
            t += "gleicht kein x1 zwischen ";
            appendReal(t, design.lowestX1, 10);
            t += " und ";
            appendReal(t, design.highestX1, 10);
            return t +
                   " das spezifische Gleiten an beiden Enden der Eingriffsstrecke aus "
                   "(--x1 oder --x2 angeben)";
        case ShiftDesignError::none:
            break;
    }
    return t;
}

std::string bothShiftsWithCentreDistance() {
    return "Mit --centre-distance lässt sich nur eine der Optionen --x1 und --x2 angeben "
           "(die andere ergibt sich aus dem Achsabstand)";
}

std::string badSweep(std::string_view argument) {
    return badValue("--sweep", argument) +
           " (erwartet NAME=VON:BIS:SCHRITT, NAME einer von z1, z2, mn, b, beta, x1, x2, "
           "segments; ganze Zahlen für z1, z2 und segments)";
}

std::string sweepRefused(std::string_view argument, SweepError error) {
    std::string t =
        argument.empty() ? "Option --sweep: " : "Option --sweep " + printable(argument) + ": ";
    switch (error) {
        case SweepError::emptyRange:
            return t + "der Bereich ist leer (BIS liegt unter VON)";
        case SweepError::zeroStep:
            return t + "die Schrittweite muss größer als 0 sein";
        case SweepError::notWhole:
            return t + "VON, BIS und SCHRITT müssen ganze Zahlen sein";
        case SweepError::tooManyPoints:
            return t + "das Raster hätte mehr als " + std::to_string(kMaxSweepPoints) + " Punkte";
        case SweepError::none:
            break;
    }
    return t;
}

std::string sweptTwice(std::string_view field) {
    return "Option --sweep: " + std::string(field) + " wird zweimal variiert";
}

std::string needs(std::string_view option, std::string_view required) {
    return "Option " + std::string(option) + " braucht " + std::string(required);
}

std::string sweepWritten(std::int64_t points, std::int64_t rows, std::string_view file) {
    return std::to_string(points) + " Rasterpunkte berechnet, " + std::to_string(rows) +
           " Zeilen in \"" + printable(file) + "\" geschrieben";
}

std::string unknownOption(std::string_view argument) {
    if (!argument.empty() && argument.front() == '-')
        return "Unbekannte Option " + printable(argument.substr(0, argument.find('=')));
    return "Unerwartetes Argument \"" + printable(argument) + "\"";
}

std::string waitingForFolder(std::string_view folder) {
    return "Ein anderer Kellvor-Lauf schreibt gerade in \"" + printable(folder) +
           "\"; es geht weiter, sobald er fertig ist (Strg+C bricht ab).";
}

std::string signalled(int sig, std::string_view outcome) {
    const char* name = sig == SIGINT    ? "SIGINT"
                       : sig == SIGTERM ? "SIGTERM"
                       : sig == SIGHUP  ? "SIGHUP"
                                        : nullptr;
    std::string text =
        "Signal " + (name != nullptr ? std::string(name) : std::to_string(sig)) + " empfangen. ";
    if (outcome.empty())
        text += "Die Arbeit war da schon abgeschlossen; die Dateien sind vollständig.";
    else
        text += outcome;
    return text;
}

}  // namespace kellvor::cli_messages
