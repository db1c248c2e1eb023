#include "commands/command_messages.h"

#include <algorithm>

#include "geometry/backlash.h"
#include "geometry/input_fields.h"
#include "geometry/printable.h"
#include "geometry/real_format.h"

namespace kellvor::messages {
namespace {

// v with six significant digits and the given decimal mark.
std::string sixDigits(double v, DecimalMark mark) {
    std::string text;
    appendReal(text, v, 6);
    if (mark == DecimalMark::comma)
        std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

std::string outOfRange(const RangeViolation& violation, DecimalMark mark) {
    return std::string(kRangeWarningText) + "\n" + describeRangeViolation(violation, mark);
}

std::string backlashOutOfRange(double jn, double mn, DecimalMark mark) {
    std::string text(kRangeWarningText);
    text += "\nFeld \"Flankenspiel jn\": erlaubt ist ";
    text += formatBound(0.0, mark);
    text += " ≤ jn < ";
    text += formatBound(kMaxBacklashFactor * mn, mark);
    text += " mm (halber Normalmodul), eingegeben ";
    text += formatBound(jn, mark);
    return text;
}

std::string noWorkingAngle(const GearPairInput& input) {
    std::string text =
        "Für z1 = " + std::to_string(input.z1) + ", z2 = " + std::to_string(input.z2) + ", x1 = ";
    appendReal(text, input.x1, 6);
    text += " und x2 = ";
    appendReal(text, input.x2, 6);
    text +=
        " gibt es keinen Betriebseingriffswinkel: die Summe der Profilverschiebungen ist zu "
        "klein, das Radpaar lässt sich nicht zusammensetzen (größere Profilverschiebungen oder "
        "mehr Zähne wählen).";
    return text;
}

std::string interference(double phi1Degrees) {
    std::string text = "Eingriffsstörung: bei phi1 = ";
    appendReal(text, phi1Degrees, 6);
    text +=
        " Grad durchdringen sich die Zähne in jeder Stellung von Zahnrad 2 (siehe "
        "eingriff.txt).";
    return text;
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

std::string pictureNotEncoded(const std::filesystem::path& path, std::string_view reason) {
    return "Datei \"" + printable(path.string()) + "\": " + std::string(reason);
}

std::string meshDisagreement(MeshDisagreement disagreement, const MeshCheck& check,
                             DecimalMark mark) {
    constexpr std::string_view kDrawingCounts =
        ": maßgebend ist die Zeichnung, denn sie wird gefertigt.";
    std::string text;
    switch (disagreement) {
        case MeshDisagreement::findingsOnly:
            text =
                "Die Befunde sehen eine Eingriffsstörung, die gezeichneten Konturen laufen "
                "störungsfrei";
            break;
        case MeshDisagreement::drawingOnly:
            text = "Die gezeichneten Konturen stören sich ab φ1 = ";
            text += sixDigits(check.interferencePhi1.value_or(0.0), mark);
            text += "°, die Befunde sehen keine Eingriffsstörung";
            break;
    }
    text += kDrawingCounts;
    return text;
}

std::string joined(std::string_view reason, std::string_view consequence) {
    return std::string(reason) + " " + std::string(consequence);
}

}  // namespace kellvor::messages
