#include "commands/command_messages.h"

#include "geometry/printable.h"
#include "geometry/real_format.h"

namespace kellvor::messages {

std::string outOfRange(const RangeViolation& violation, DecimalMark mark) {
    return std::string(kRangeWarningText) + "\n" + describeRangeViolation(violation, mark);
}

std::string notDrawable(int gear, std::int32_t z, double x, OutlineDefect defect) {
    const std::string index = std::to_string(gear);
    std::string text = "Für z" + index + " = " + std::to_string(z) + " und x" + index + " = ";
    appendReal(text, x, 6);
    text += " lässt sich kein Zahnrad zeichnen: ";
    switch (defect) {
        case OutlineDefect::rootArcsCross:
            text +=
                "die Fußkreisbögen benachbarter Zahnlücken schneiden sich, jeder Zahn wäre vom "
                "Radkörper abgetrennt (mehr Zähne oder eine größere Profilverschiebung wählen).";
            break;
        case OutlineDefect::selfCrossing:
            text += "die Kontur schneidet sich selbst.";
            break;
    }
    return text;
}

std::string pictureNeedsMemory(std::int32_t width, std::int32_t height, std::uint64_t neededMB,
                               std::uint64_t availableMB) {
    return "Für ein Bild von " + std::to_string(width) + " × " + std::to_string(height) +
           " Pixeln reicht der Arbeitsspeicher nicht: benötigt " + std::to_string(neededMB) +
           " MB, verfügbar " + std::to_string(availableMB) + " MB.";
}

std::string pictureNotEncoded(const std::filesystem::path& path, std::string_view reason) {
    return "Datei \"" + printable(path.string()) + "\": " + std::string(reason);
}

std::string joined(std::string_view reason, std::string_view consequence) {
    return std::string(reason) + " " + std::string(consequence);
}

}  // namespace kellvor::messages
