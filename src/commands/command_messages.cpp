#include "commands/command_messages.h"

#include <algorithm>

#include "geometry/backlash.h"
#include "geometry/input_fields.h"
#include "geometry/printable.h"
#include "geometry/real_format.h"
#include "output/dxf_document.h"

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

std::string drawingTitle(int gear, const GearPairInput& input, RootForm root) {
    std::string text =
        (gear == 0 ? std::string("Zahnradpaar") : "Zahnrad " + std::to_string(gear)) +
        ": z1 = " + std::to_string(input.z1) + ", z2 = " + std::to_string(input.z2) + ", mn = ";
    appendReal(text, input.mn, 6);
    text += " mm, b = ";
    appendReal(text, input.b, 6);
    text += " mm, beta = ";
    appendReal(text, input.beta, 6);
    text += "°, x1 = ";
    appendReal(text, input.x1, 6);
    text += ", x2 = ";
    appendReal(text, input.x2, 6);
    text += ", " + std::to_string(input.segmentCount) + " Elemente je Flanke, Zahnfuß: ";
    text += root == RootForm::generated ? "erzeugt (Bezugsprofil, Kopfradius 0.38 mn)"
                                        : "Kreisbogen durch drei Punkte";
    return text;
}

std::string drawingCheckFailed(std::string_view file, const DrawingFinding& f) {
    std::string text =
        "Die Prüfung der geschriebenen Zeichnung " + std::string(file) + " ist fehlgeschlagen: ";
    const std::string at =
        "Element " + (f.hexHandle ? hexHandleText(static_cast<std::uint64_t>(f.handle))
                                  : std::to_string(f.handle));
    const auto offBy = [&](std::string_view what) {
        std::string t = "ein Punkt von " + at + " liegt ";
        appendReal(t, f.deviation, 3);
        t += " mm neben " + std::string(what) + " (erlaubt ";
        appendReal(t, f.allowed, 3);
        return t + " mm)";
    };
    switch (f.fault) {
        case DrawingFault::unreadable:
            text += f.detail;
            break;
        case DrawingFault::notClosed:
            text += "die Kontur ist bei " + at + " nicht geschlossen (Lücke ";
            appendReal(text, f.deviation, 3);
            text += " mm, erlaubt ";
            appendReal(text, f.allowed, 3);
            text += " mm)";
            break;
        case DrawingFault::selfCrossing:
            text += "die Kontur schneidet sich bei " + at;
            break;
        case DrawingFault::outOfSector:
            text += at + " reicht über die Nachbarzähne hinaus";
            break;
        case DrawingFault::offInvolute:
            text += offBy("der Evolvente");
            break;
        case DrawingFault::offFillet:
            text += offBy("der Fußrundung");
            break;
        case DrawingFault::areaDiffers:
            text += "die umschlossene Fläche weicht relativ um ";
            appendReal(text, f.deviation, 3);
            text += " von der berechneten ab (erlaubt ";
            appendReal(text, f.allowed, 3);
            text += ")";
            break;
    }
    return text + ".";
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

CommandResult cancelledResult(std::string_view unchanged) {
    return failure(CommandStatus::cancelled, joined(kCancelled, unchanged));
}

std::string joined(std::string_view reason, std::string_view consequence) {
    return std::string(reason) + " " + std::string(consequence);
}

}  // namespace kellvor::messages
