#include "geometry/geometry_report.h"

#include "geometry/constants.h"
#include "geometry/real_format.h"

namespace kellvor {
namespace {

// Six significant digits, the default of a text stream.
constexpr int kReportPrecision = 6;

void row(std::string& text, const char* label, double value) {
    text += label;
    appendReal(text, value, kReportPrecision);
    text += '\n';
}

}  // namespace

std::string formatGeometryReport(const GearPairInput& in, const GearPairGeometry& g) {
    std::string t;
    t.reserve(2048);
    row(t, "Uebersetzung u=", g.u);
    row(t, "\nSchraegungswinkel beta=", in.beta);
    row(t, "beta b in Grad=", g.betab * kRadToDeg);
    row(t, "beta b in rad=", g.betab);
    row(t, "\nZahnbreite=", in.b);
    row(t, "Modul mn=", in.mn);
    row(t, "Stirnmodul mt=", g.mt);
    row(t, "\nZaehnezahl z1=", static_cast<double>(in.z1));
    row(t, "Zaehnezahl z2=", static_cast<double>(in.z2));
    row(t, "\nTeilkreisdurchmesser d1=", g.d1);
    row(t, "Teilkreisdurchmesser d2=", g.d2);
    row(t, "\nGrundkreisdurchmesser db1=", g.db1);
    row(t, "Grundkreisdurchmesser db2=", g.db2);
    row(t, "\nNull-Achsabstand ad=", g.ad);
    row(t, "Achsabstand a=", g.a);
    row(t, "\nProfilverschiebungsfaktoren x1+x2=", g.xsum);
    row(t, "x1=", in.x1);
    row(t, "x2=", in.x2);
    row(t, "\nWaelzkreisdurchmesser dw1=", g.dw1);
    row(t, "Waelzkreisdurchmesser dw2=", g.dw2);
    row(t, "\nKopfkreisdurchmesser da1=", g.da1);
    row(t, "Kopfkreisdurchmesser da2=", g.da2);
    row(t, "\nFusskreisdurchmesser df1=", g.df1);
    row(t, "Fusskreisdurchmesser df2=", g.df2);
    row(t, "\nEingriffswinkel alphan in Grad=", 20.0);
    row(t, "\nBetriebseingriffswinkel alphawn in Grad=", g.alphawn * kRadToDeg);
    row(t, "Betriebseingriffswinkel alphawn in rad=", g.alphawn);
    row(t, "\nStirneingriffswinkel alphat in Grad=", g.alphat * kRadToDeg);
    row(t, "Stirneingriffswinkel alphat in rad=", g.alphat);
    row(t, "\nBetriebseingriffswinkel alphawt in GRAD=", g.alphawt * kRadToDeg);
    row(t, "Betriebseingriffswinkel alphawt in rad=", g.alphawt);
    row(t, "\nTeilung pt=", g.pt);
    row(t, "Eingriffsteilung pet=", g.pet);
    row(t, "\nTeilung pn=", g.pn);
    row(t, "Eingriffsteilung pen=", g.pen);
    row(t, "\nProfilueberdeckung epsilonalpha=", g.epsilonalpha);
    row(t, "\nSprungueberdeckung epsilonbeta=", g.epsilonbeta);
    row(t, "\nKopfhoehenaenderungsfaktor k=", g.k);
    row(t, "Kontrollachsabstand=", g.acontrol);
    row(t, "\ninvolutalphay=", g.involutalphay);
    row(t, "involutalphat=", g.involutalphat);
    row(t, "involutalphawt=", g.involutalphawt);
    t += g.baseAboveUsable ? "Grundkreis>Nutzbarer Evolventendurchmesser\n"
                           : "Grundkreis<=Nutzbarer Evolventendurchmesser\n";
    appendReal(t, g.dNf, kReportPrecision);
    t += '\n';
    return t;
}

}  // namespace kellvor
