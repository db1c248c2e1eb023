#include "geometry/assessment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/constants.h"

namespace kellvor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void add(Assessment& a, FindingCode code, FindingLevel level, int gear, double value, double limit,
         double extra = 0) {
    a.findings[a.count++] =
        Finding{code, level, static_cast<std::int8_t>(gear), value, limit, extra};
}

// Where the contact on a gear starts. The line of action runs from the tangent point T on this
// gear's base circle to the one on the mating gear's; the contact starts where the mating tip
// circle crosses it, g from T.
void judgeContactStart(GearJudgement& gear, double rb, double lineOfAction, double raMate,
                       double rbMate) {
    gear.g = lineOfAction - std::sqrt(raMate * raMate - rbMate * rbMate);
    gear.rA = std::sqrt(rb * rb + gear.g * gear.g);
}

// x_min from the transverse pressure angle and cos(beta). The straight flank of the rack ends
// where its tip rounding begins, 1.25 mn - 0.38 mn (1 - sin alphan) above its datum line.
// Undercut starts when that point runs below the tangent point of the line of action on the
// base circle, r sin^2(alphat) below the pitch line; heights perpendicular to the pitch plane are
// the same in the normal section.
double undercutLimitFrom(std::int32_t z, double sinAlphat, double cosBeta) {
    const double straight = kDedendumFactor - kToolTipRadiusFactor * (1 - std::sin(kAlphan));
    return straight - z * sinAlphat * sinAlphat / (2 * cosBeta);
}

// One gear of the pair as the findings see it (lengths in the unit of mn).
struct GearView {
    std::int32_t z = 0;
    double x = 0, d = 0, da = 0, db = 0, rs = 0;
};

// Tooth thickness at the tip in the normal section: the reference thickness carried along the
// involute to the tip circle, then into the normal section with the helix angle there.
double tipThickness(const GearView& gear, const GearPairGeometry& g, double tanBeta) {
    const double st = g.mt * (kHalfPi + 2 * gear.x * std::tan(kAlphan));
    const double cosAt = gear.db / gear.da;
    const double invAt = std::sqrt(1 - cosAt * cosAt) / cosAt - std::acos(cosAt);
    const double sat = gear.da * (st / gear.d + g.involutalphat - invAt);
    const double tanBetaA = tanBeta * gear.da / gear.d;
    return sat / std::sqrt(1 + tanBetaA * tanBetaA);
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
    const double cosBeta = std::cos(beta * kDegToRad);
    return undercutLimitFrom(z, std::sin(std::atan(std::tan(kAlphan) / cosBeta)), cosBeta);
}

Assessment assessGearPair(const GearPairInput& in, const GearPairGeometry& g) {
    Assessment a;
    const double betaRad = in.beta * kDegToRad;
    const double tanBeta = std::tan(betaRad);
    const double cosBeta = std::cos(betaRad);
    const double sinAlphat = std::sin(g.alphat);
    const GearView gears[2] = {{in.z1, in.x1, g.d1, g.da1, g.db1, g.rs1},
                               {in.z2, in.x2, g.d2, g.da2, g.db2, g.rs2}};
    for (int i = 0; i < 2; ++i) {
        const GearView& gear = gears[i];
        GearJudgement& judged = a.gears[static_cast<std::size_t>(i)];
        judged.xmin = undercutLimitFrom(gear.z, sinAlphat, cosBeta);
        judged.san = tipThickness(gear, g, tanBeta);
        judged.rs = gear.rs;
        if (gear.x < judged.xmin)
            add(a, FindingCode::undercut, FindingLevel::warning, i + 1, gear.x, judged.xmin);
        if (judged.san <= 0)
            add(a, FindingCode::pointed, FindingLevel::error, i + 1, judged.san, 0);
        else if (judged.san < kThinTipFactor * in.mn)
            add(a, FindingCode::thinTip, FindingLevel::warning, i + 1, judged.san,
                kThinTipFactor * in.mn);
    }

    a.tipShortening = -g.k * in.mn;
    if (std::isnan(g.alphawt)) {
        // Without a working pressure angle there is no centre distance, contact or clearance.
        a.c = kNaN;
        for (GearJudgement& judged : a.gears)
            judged.g = judged.rA = kNaN;
        add(a, FindingCode::noMesh, FindingLevel::error, 0, g.involutalphawt, 0, g.xsum);
        return a;
    }

    if (g.epsilonalpha < kContactRatioError)
        add(a, FindingCode::contactRatio, FindingLevel::error, 0, g.epsilonalpha,
            kContactRatioError);
    else if (g.epsilonalpha < kContactRatioWarning)
        add(a, FindingCode::contactRatio, FindingLevel::warning, 0, g.epsilonalpha,
            kContactRatioWarning);

    // The tips are not shortened, so each tip runs (0.25 + k) mn from the mating root circle;
    // both ways of writing it are taken and the smaller kept.
    a.c = g.a - std::max(g.da1 + g.df2, g.da2 + g.df1) * 0.5;
    if (a.c < 0)
        add(a, FindingCode::tipClearance, FindingLevel::error, 0, a.c, 0, a.tipShortening);
    else if (a.c < kClearanceWarningFactor * in.mn)
        add(a, FindingCode::tipClearance, FindingLevel::warning, 0, a.c,
            kClearanceWarningFactor * in.mn, a.tipShortening);
    else if (-g.k > kShorteningNoteFactor)
        add(a, FindingCode::tipClearance, FindingLevel::note, 0, a.c, kClearanceFactor * in.mn,
            a.tipShortening);

    const double lineOfAction = g.a * std::sin(g.alphawt);
    const double rb2 = g.db2 * 0.5;
    const double ra2 = g.da2 * 0.5;
    judgeContactStart(a.gears[0], g.rb1, lineOfAction, ra2, rb2);
    judgeContactStart(a.gears[1], rb2, lineOfAction, g.ra1, g.rb1);
    for (int i = 0; i < 2; ++i) {
        const GearJudgement& judged = a.gears[static_cast<std::size_t>(i)];
        if (judged.g < 0 || judged.rA < judged.rs)
            add(a, FindingCode::interference, FindingLevel::error, i + 1, judged.rA, judged.rs,
                judged.g);
    }
    return a;
}

Assessment assessGearPair(const GearPairInput& input) {
    return assessGearPair(input, computeGearPairGeometry(input));
}

}  // namespace kellvor
