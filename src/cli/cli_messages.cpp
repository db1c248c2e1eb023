#include "cli/cli_messages.h"

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
           "  --root arc|generated  Zahnfuß: Kreisbogen durch drei Punkte (arc, Vorgabe) oder\n"
           "                      vom Bezugsprofil erzeugte Fußrundung (generated)\n"
           "  --svg               zahnrad.svg zusätzlich schreiben\n"
           "  --verify            geschriebene Zeichnung vor dem Ersetzen zurücklesen und prüfen\n"
           "  --help              diese Hilfe\n"
           "  --version           Versionsnummer\n\n"
           "Zahlen im C-Format (Dezimalpunkt), auch als --name=wert.\n"
           "Exit-Codes: 0 Erfolg, 1 Dateifehler, 2 Aufruffehler, 3 Werte außerhalb des\n"
           "Bereichs oder nicht darstellbares Zahnrad\n";
}

std::string missingValue(std::string_view option) {
    return "Option " + printable(option) + " braucht einen Wert";
}

std::string badValue(std::string_view option, std::string_view value) {
    return "Ungültiger Wert für " + printable(option) + ": \"" + printable(value) + "\"";
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
