#include "output/mesh_report.h"

#include <string_view>

#include "geometry/real_format.h"

namespace kellvor {
namespace {

constexpr int kMeshReportPrecision = 6;

void line(std::string& text, std::string_view label, double value) {
    text += label;
    appendReal(text, value, kMeshReportPrecision);
    text += '\n';
}

}  // namespace

std::string formatMeshReport(double a, const MeshCheck& check) {
    std::string text;
    line(text, "Achsabstand a=", a);
    line(text, "Flankenspiel jn (vorgegeben)=", check.jn);
    line(text, "Verdrehflankenspiel jt soll=", check.jtSoll);
    line(text, "Verdrehflankenspiel jt min=", check.jtMin);
    line(text, "Verdrehflankenspiel jt max=", check.jtMax);
    line(text, "Kopfspiel c1=", check.c1);
    line(text, "Kopfspiel c2=", check.c2);
    if (check.interferencePhi1)
        line(text, "Eingriffsstoerung=bei phi1=", *check.interferencePhi1);
    else
        text += "Eingriffsstoerung=keine\n";
    return text;
}

}  // namespace kellvor

namespace kellvor {

std::uint64_t maxMeshReportBytes() {
    // Six significant digits take at most 13 characters, as in -1.23457e-300.
    constexpr double kLongest = -1.23457e-300;
    const MeshCheck longest{kLongest, kLongest, kLongest, kLongest, kLongest, kLongest, kLongest};
    return formatMeshReport(kLongest, longest).size();
}

}  // namespace kellvor
