#include "geometry/assessment_text.h"

#include <charconv>
#include <cmath>

#include "geometry/real_format.h"

namespace kellvor {
namespace {

// Values in finding texts: four significant digits say enough to act on.
constexpr int kTextDigits = 4;
// Inspection dimensions: 0.1 micrometre, finer than any workshop gauge.
constexpr int kInspectionDecimals = 4;

std::string num(double v) {
    std::string t;
    appendReal(t, v, kTextDigits);
    return t;
}

std::string mm(double v) {
    return num(v) + " mm";
}

std::string fixed(double v) {
    char buf[kMaxRealChars + 16];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, kInspectionDecimals).ptr;
    return std::string(buf, end) + " mm";
}

std::string gearName(int gear) {
    std::string t = "Zahnrad ";
    t += std::to_string(gear);
    return t;
}

std::string shortening(const Finding& f) {
    return "Köpfe um −k·mn = " + mm(f.extra) + " kürzen";
}

}  // namespace

std::string_view findingLevelName(FindingLevel level) {
    switch (level) {
        case FindingLevel::note:
            return "Hinweis";
        case FindingLevel::warning:
            return "Warnung";
        case FindingLevel::error:
            return "Fehler";
    }
    return "";
}

std::string findingText(const Finding& f) {
    std::string x = "x";
    x += std::to_string(f.gear);
    switch (f.code) {
        case FindingCode::undercut:
            return gearName(f.gear) + " wird beim Verzahnen unterschnitten: " + x + " = " +
                   num(f.value) + " liegt unter x_min = " + num(f.limit) +
                   " (Profilverschiebung auf mindestens x_min erhöhen oder mehr Zähne wählen).";
        case FindingCode::pointed:
            return gearName(f.gear) + " wird spitz: Zahndicke am Kopfkreis s_an = " + mm(f.value) +
                   " ≤ 0 mm (Profilverschiebung " + x +
                   " verringern, mehr Zähne wählen oder den Kopf kürzen).";
        case FindingCode::thinTip:
            return gearName(f.gear) + " hat einen dünnen Zahnkopf: s_an = " + mm(f.value) +
                   " < 0.2·mn = " + mm(f.limit) + " (Profilverschiebung " + x +
                   " verringern, mehr Zähne wählen oder den Kopf kürzen).";
        case FindingCode::noMesh:
            return "Die Zahnräder kämmen nicht: für x1 + x2 = " + num(f.extra) +
                   " gibt es keinen Betriebseingriffswinkel (inv αwt = " + num(f.value) +
                   " < 0; die Summe der Profilverschiebungen erhöhen).";
        case FindingCode::contactRatio:
            return "Profilüberdeckung εα = " + num(f.value) + " < " + num(f.limit) +
                   (f.level == FindingLevel::error ? ": der Eingriff reißt ab"
                                                   : ": knapper Eingriff") +
                   " (Profilverschiebungen verringern oder mehr Zähne wählen).";
        case FindingCode::tipClearance:
            if (f.level == FindingLevel::note)
                return "Kopfspiel c = " + mm(f.value) + " statt 0.25·mn = " + mm(f.limit) + ": " +
                       shortening(f) + ", dann ist es wiederhergestellt.";
            return "Kopfspiel c = " + mm(f.value) + " < " +
                   (f.level == FindingLevel::error ? std::string("0 mm")
                                                   : "0.1·mn = " + mm(f.limit)) +
                   ": die Zahnköpfe laufen " +
                   (f.level == FindingLevel::error ? "in den" : "dicht am") +
                   " Fußkreis des Gegenrads (" + shortening(f) + ", dann ist c = 0.25·mn).";
        case FindingCode::interference:
            if (f.extra < 0)
                return "Eingriffsstörung an " + gearName(f.gear) + ": der Kopf von " +
                       gearName(3 - f.gear) + " greift um " + mm(-f.extra) +
                       " über den Berührpunkt der Eingriffslinie am Grundkreis hinaus "
                       "(Profilverschiebung " +
                       x + " erhöhen, den Kopf von " + gearName(3 - f.gear) +
                       " kürzen oder mehr Zähne wählen).";
            return "Eingriffsstörung an " + gearName(f.gear) +
                   ": der Eingriff beginnt bei r_A = " + mm(f.value) +
                   ", unter dem Evolventenbeginn r_s = " + mm(f.limit) + " (Profilverschiebung " +
                   x + " erhöhen oder den Kopf von " + gearName(3 - f.gear) + " kürzen).";
    }
    return "";
}

std::string findingLine(const Finding& f) {
    return std::string(findingLevelName(f.level)) + ": " + findingText(f);
}

std::string formatCheckListing(const Assessment& a, const InspectionDimensions& d) {
    std::string t = "Befunde:";
    if (a.count == 0)
        t += " keine";
    t += '\n';
    for (const Finding& f : a.list())
        t += "  " + findingLine(f) + '\n';
    t += "Prüfmaße (Messkugel DM = " + mm(d.DM) + "):\n";
    for (int i = 0; i < 2; ++i) {
        const GearInspection& g = d.gears[static_cast<std::size_t>(i)];
        t += "  " + gearName(i + 1) + ": sn = " + fixed(g.sn) + ", W" + std::to_string(g.k) +
             " = " + fixed(g.Wk) + " (k = " + std::to_string(g.k) + "), Md = ";
        if (!std::isnan(g.Md)) {
            t += fixed(g.Md) + '\n';
            continue;
        }
        t += "keine Angabe: die Messkugel berührt die Flanken nicht zwischen Evolventenbeginn "
             "und Kopfkreis (passend: DM ";
        t += std::isinf(g.ball.max) ? "ab " + mm(g.ball.min)
                                    : "von " + num(g.ball.min) + " bis " + mm(g.ball.max);
        t += ")\n";
    }
    return t;
}

}  // namespace kellvor
