#include "cli/cli_messages.h"

#include <csignal>

#include "geometry/printable.h"

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
           "  --recover           nur aufräumen: den Dateiwechsel eines abgebrochenen Laufs im\n"
           "                      Zielordner abschließen, Reste entfernen\n"
           "  --help              diese Hilfe\n"
           "  --version           Versionsnummer\n\n"
           "Zahlen im C-Format (Dezimalpunkt), auch als --name=wert.\n"
           "Exit-Codes: 0 Erfolg, 1 Dateifehler, 2 Aufruffehler, 3 Werte außerhalb des\n"
           "Bereichs oder nicht darstellbares Zahnrad, 128 + n abgebrochen durch Signal n\n"
           "(SIGHUP 129, SIGINT 130, SIGTERM 143)\n";
}

std::string missingValue(std::string_view option) {
    return "Option " + printable(option) + " braucht einen Wert";
}

std::string badValue(std::string_view option, std::string_view value) {
    return "Ungültiger Wert für " + printable(option) + ": \"" + printable(value) + "\"";
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
