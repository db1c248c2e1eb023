#include "geometry/assessment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/constants.h"

namespace kellvor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class FindingList {
  public:
    explicit FindingList(Assessment& a) : m_a(a) {}
    void add(FindingCode code, FindingLevel level, int gear, double value, double limit,
             double extra = 0) {
        m_a.findings[m_a.count++] =
            Finding{code, level, static_cast<std::int8_t>(gear), value, limit, extra};
    }

  private:
    Assessment& m_a;
};

// Where the contact on a gear starts. The line of action runs from the tangent point T on this
// gear's base circle to the one on the mating gear's; the contact starts where the mating tip
// circle crosses it, g from T.
void judgeContactStart(GearJudgement& gear, double rb, double lineOfAction, double raMate,
                       double rbMate) {
    gear.g = lineOfAction - std::sqrt(raMate * raMate - rbMate * rbMate);
    gear.rA = std::sqrt(rb * rb + gear.g * gear.g);
}

}  // namespace

bool Assessment::hasError() const {
    for (const Finding& f : list())
        if (f.level == FindingLevel::error)
            return true;
    return false;
}

std::string_view findingCodeName(FindingCode code) {
    switch (code) {
        case FindingCode::undercut:
            return "undercut";
        case FindingCode::pointed:
            return "pointed";
        case FindingCode::thinTip:
            return "thin_tip";
        case FindingCode::noMesh:
            return "no_mesh";
        case FindingCode::contactRatio:
            return "contact_ratio";
        case FindingCode::tipClearance:
            return "tip_clearance";
        case FindingCode::interference:
            return "interference";
    }
    return "";
}

double undercutLimit(std::int32_t z, double beta) {
    // The straight flank of the rack ends where its tip rounding begins, 1.25 mn - 0.38 mn
    // (1 - sin alphan) above its datum line. Undercut starts when that point runs below the
    // tangent point of the line of action on the base circle, r sin^2(alphat) below the pitch
    // line; heights perpendicular to the pitch plane are the same in the normal section.
    const double betaRad = beta * kDegToRad;
    const double alphat = std::atan(std::tan(kAlphan) / std::cos(betaRad));
    const double s = std::sin(alphat);
    const double straight = kDedendumFactor - kToolTipRadiusFactor * (1 - std::sin(kAlphan));
    return straight - z * s * s / (2 * std::cos(betaRad));
}

double tipThicknessNormal(const GearPairInput& in, const GearPairGeometry& g) {
    // Transverse thickness at the tip from the reference thickness carried along the involute,
    // then into the normal section with the helix angle at the tip circle.
    const double st = g.mt * (kHalfPi + 2 * in.x1 * std::tan(kAlphan));
    const double alphaat = std::acos(g.db1 / g.da1);
    const double sat = g.da1 * (st / g.d1 + g.involutalphat - (std::tan(alphaat) - alphaat));
    const double betaa = std::atan(std::tan(in.beta * kDegToRad) * g.da1 / g.d1);
    return sat * std::cos(betaa);
}

Assessment assessGearPair(const GearPairInput& in, const GearPairGeometry& g,
                          const GearPairGeometry& swapped) {
    Assessment a;
    FindingList list(a);
    const GearPairInput in2 = swappedInput(in);
    const GearPairInput* inputs[2] = {&in, &in2};
    const GearPairGeometry* geometries[2] = {&g, &swapped};
    for (int i = 0; i < 2; ++i) {
        const GearPairInput& gi = *inputs[i];
        GearJudgement& judged = a.gears[static_cast<std::size_t>(i)];
        judged.xmin = undercutLimit(gi.z1, gi.beta);
        judged.san = tipThicknessNormal(gi, *geometries[i]);
        judged.rs = geometries[i]->rs1;
        if (gi.x1 < judged.xmin)
            list.add(FindingCode::undercut, FindingLevel::warning, i + 1, gi.x1, judged.xmin);
        if (judged.san <= 0)
            list.add(FindingCode::pointed, FindingLevel::error, i + 1, judged.san, 0);
        else if (judged.san < kThinTipFactor * in.mn)
            list.add(FindingCode::thinTip, FindingLevel::warning, i + 1, judged.san,
                     kThinTipFactor * in.mn);
    }

    a.tipShortening = -g.k * in.mn;
    if (std::isnan(g.alphawt)) {
        // Without a working pressure angle there is no centre distance, contact or clearance.
        a.c = kNaN;
        for (GearJudgement& judged : a.gears)
            judged.g = judged.rA = kNaN;
        list.add(FindingCode::noMesh, FindingLevel::error, 0, g.involutalphawt, 0, g.xsum);
        return a;
    }

    if (g.epsilonalpha < kContactRatioError)
        list.add(FindingCode::contactRatio, FindingLevel::error, 0, g.epsilonalpha,
                 kContactRatioError);
    else if (g.epsilonalpha < kContactRatioWarning)
        list.add(FindingCode::contactRatio, FindingLevel::warning, 0, g.epsilonalpha,
                 kContactRatioWarning);

    // The tips are not shortened, so each tip runs (0.25 + k) mn from the mating root circle;
    // both ways of writing it are taken and the smaller kept.
    a.c = g.a - std::max(g.da1 + g.df2, g.da2 + g.df1) * 0.5;
    if (a.c < 0)
        list.add(FindingCode::tipClearance, FindingLevel::error, 0, a.c, 0, a.tipShortening);
    else if (a.c < kClearanceWarningFactor * in.mn)
        list.add(FindingCode::tipClearance, FindingLevel::warning, 0, a.c,
                 kClearanceWarningFactor * in.mn, a.tipShortening);
    else if (-g.k > kShorteningNoteFactor)
        list.add(FindingCode::tipClearance, FindingLevel::note, 0, a.c, kClearanceFactor * in.mn,
                 a.tipShortening);

    const double lineOfAction = g.a * std::sin(g.alphawt);
    const double rb2 = g.db2 * 0.5;
    const double ra2 = g.da2 * 0.5;
    judgeContactStart(a.gears[0], g.rb1, lineOfAction, ra2, rb2);
    judgeContactStart(a.gears[1], rb2, lineOfAction, g.ra1, g.rb1);
    for (int i = 0; i < 2; ++i) {
        const GearJudgement& judged = a.gears[static_cast<std::size_t>(i)];
        if (judged.g < 0 || judged.rA < judged.rs)
            list.add(FindingCode::interference, FindingLevel::error, i + 1, judged.rA, judged.rs,
                     judged.g);
    }
    return a;
}

Assessment assessGearPair(const GearPairInput& input) {
    return assessGearPair(input, computeGearPairGeometry(input),
                          computeGearPairGeometry(swappedInput(input)));
}

}  // namespace kellvor
