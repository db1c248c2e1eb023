// The tooth gap that the generating rack leaves: involute flanks down to the fillets that the
// rack's rounded tips cut (the envelope of the rounding), and the arc of the root circle under
// the rack's flat tip land.
#pragma once

#include <cstdint>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/flank_profile.h"
#include "outline/point.h"
#include "outline/root_arc.h"

namespace kellvor {

// How each tooth gap is closed.
enum class RootForm {
    threePointArc,  // the circle through both lower flank ends and the root circle mid-gap
    generated,      // what the generating rack leaves: fillets and an arc of the root circle
};

// Tip radius of the basic rack as a multiple of the normal module.
inline constexpr double kRackTipRadiusFactor = 0.38;
// Largest chordal deviation of the drawn fillet from the true one, times the normal module.
inline constexpr double kFilletChordFactor = 1e-4;
// Fewest straight elements per fillet.
inline constexpr std::int32_t kMinFilletSegments = 8;

// The basic rack (alphan, addendum 1.25 mn, tip radius 0.38 mn) of a gear, shifted by x mn, seen
// in the transverse section as it rolls on the reference circle. Frame: the gap's centre line is
// +y, the rack's pitch line touches the reference circle there at rolling angle 0.
struct GeneratingRack {
    double r = 0;         // reference radius, the circle the pitch line rolls on
    double uc = 0;        // centre of the right tip rounding along the pitch line from the centre
                          // line of the rack tooth (lengths along the line are normal ones / cos b)
    double vc = 0;        // the same across the line, outwards (negative: towards the gear centre)
    double a = 0;         // semi-axis of the rounding's ellipse along the pitch line, rho / cos b
    double b = 0;         // semi-axis across it, rho
    double endAngle = 0;  // ellipse parameter where the straight flank starts: -alphan
};

// The rack that generates gear 1 of input (its shift x1), each tooth thickened along the pitch
// line by rackThickening (the backlash allowance; 0 for none).
GeneratingRack generatingRack(const GearPairInput& input, const GearPairGeometry& geometry,
                              double rackThickening = 0);

// The point of the gear that the right tip rounding touches at ellipse parameter t in
// [-pi/2, endAngle] (-pi/2: the bottom, on the root circle), in the rack frame.
Point2 filletEnvelopePoint(const GeneratingRack& rack, double t);

// The generated tooth: profile (fillet, involute, tip, involute, fillet) and the root circle.
struct GeneratedRoot {
    FlankProfile profile;   // filletCount points of each fillet, the involute from formRadius
    RootArc arc;            // the root circle about the gear centre, run clockwise
    double formRadius = 0;  // where the involute starts: the fillet leaves it tangentially
                            // there, or crosses it (undercut)
    bool undercut = false;  // the fillet cuts into the involute: a corner at formRadius
    std::int32_t filletSegments = 0;  // straight elements per fillet
};

// The outline of gear 1 of input with the generated root. The involute has segmentCount
// elements (clamped to 0..499) from formRadius to the tip; each fillet has at least as many (and
// at least 8, and enough for a chordal deviation below 1e-4 mn), its points evenly spaced by arc
// length. rackThickening thins the flanks as for backlash (each turned by rackThickening / d1).
GeneratedRoot buildGeneratedRoot(const GearPairInput& input, const GearPairGeometry& geometry,
                                 double rackThickening = 0);

}  // namespace kellvor
