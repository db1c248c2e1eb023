// Engineering findings of a gear pair: undercut, thin or pointed tips, mesh, contact ratio, tip
// clearance and involute interference, as codes and numbers in a fixed record (texts on demand).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"

namespace kellvor {

// How serious a finding is: Hinweis, Warnung, Fehler.
enum class FindingLevel : std::uint8_t { note, warning, error };

// What a finding is about; findingCodeName gives its stable key.
enum class FindingCode : std::uint8_t {
    undercut,      // the generating rack undercuts the gear (x below x_min)
    pointed,       // tooth thickness at the tip s_an <= 0
    thinTip,       // s_an below kThinTipFactor * mn
    noMesh,        // no working pressure angle exists
    contactRatio,  // transverse contact ratio below kContactRatioWarning
    tipClearance,  // tip clearance c short of 0.25 mn
    interference,  // the mating tip reaches below the gear's usable involute
};

// Limits of the findings, as factors of mn or plain numbers.
inline constexpr double kThinTipFactor = 0.2;           // thin_tip below 0.2 mn
inline constexpr double kContactRatioError = 1.0;       // contact_ratio Fehler below
inline constexpr double kContactRatioWarning = 1.1;     // contact_ratio Warnung below
inline constexpr double kClearanceFactor = 0.25;        // tip clearance of the basic rack, x mn
inline constexpr double kClearanceWarningFactor = 0.1;  // tip_clearance Warnung below 0.1 mn
inline constexpr double kShorteningNoteFactor = 0.01;   // tip_clearance Hinweis when -k above

// One finding. Its numbers by code (lengths in the unit of mn):
//   undercut: value x, limit x_min;  pointed, thinTip: value s_an, limit 0 or 0.2 mn;
//   noMesh: value inv(alphawt), limit 0, extra x1 + x2;  contactRatio: value epsilonalpha;
//   tipClearance: value c, limit 0, 0.1 mn or 0.25 mn, extra the tip shortening -k mn;
//   interference: value r_A, limit r_s, extra g (negative: the mating tip passes the tangent
//   point of the line of action on this gear's base circle).
struct Finding {
    FindingCode code = FindingCode::undercut;
    FindingLevel level = FindingLevel::note;
    std::int8_t gear = 0;  // 1 or 2; 0 for a finding of the pair
    double value = 0;      // the quantity judged
    double limit = 0;      // the limit it failed
    double extra = 0;      // a second number the text names (see above)
};

// The numbers behind the findings of one gear (lengths in the unit of mn).
struct GearJudgement {
    double xmin = 0;  // profile shift below which the generating rack undercuts the gear
    double san = 0;   // tooth thickness at the tip in the normal section
    double g = 0;     // from the base-circle tangent point T to the start of contact, on the
                      // line of action (NaN without mesh)
    double rA = 0;    // radius where the contact on this gear starts (NaN without mesh)
    double rs = 0;    // radius where the gear's drawn involute starts
};

// Most findings one pair can have: three per gear and two of the pair.
inline constexpr std::size_t kMaxFindings = 8;

// The verdict on a pair: the numbers and up to kMaxFindings findings; no allocation.
struct Assessment {
    std::array<GearJudgement, 2> gears{};  // gear 1, gear 2
    double c = 0;                          // tip clearance (NaN without mesh)
    double tipShortening = 0;              // -k mn, the shortening that restores 0.25 mn
    std::array<Finding, kMaxFindings> findings{};
    std::uint8_t count = 0;  // number of findings in use

    // The findings in the order gear 1, gear 2, then the pair's.
    std::span<const Finding> list() const { return {findings.data(), count}; }
    // Whether any finding is a Fehler.
    bool hasError() const;
};

// The stable key of a code, e.g. "thin_tip".
std::string_view findingCodeName(FindingCode code);

// x_min: the generating rack (addendum 1.25 mn, tip radius 0.38 mn) undercuts a gear of z teeth
// at helix angle beta (degrees) when its profile shift is below this.
double undercutLimit(std::int32_t z, double beta);

// Judges the pair from its geometry; input must pass validateInput. Allocates nothing.
Assessment assessGearPair(const GearPairInput& input, const GearPairGeometry& geometry);

// Judges the pair, computing its geometry.
Assessment assessGearPair(const GearPairInput& input);

}  // namespace kellvor
