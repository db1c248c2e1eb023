// The mesh window's pictures of one pair, built once per set of values off the window's thread:
// both outlines as painter paths that each frame only transforms.
#pragma once

#include <QPainterPath>
#include <QRectF>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "commands/mesh_view.h"
#include "geometry/gear_pair_input.h"

namespace kellvor {

// One gear's drawn outline as painter paths in its own frame (mm, y up), at levels of detail:
// level 0 has every flank element, each further level every second flank point of the one
// before, down to the flank's two ends. Root arcs stay arcs.
struct OutlinePaths {
    std::int32_t z = 0;
    double pitchDegrees = 0;          // tooth k is tooth 0 turned clockwise by k pitches
    std::vector<QPainterPath> tooth;  // per level: tooth 0 and the root arc of the gap after it
    std::vector<QPainterPath> whole;  // per level: the closed outline; empty where too large
    std::vector<double> deviation;    // per level: farthest a left-out point lies from its chord
    QRectF toothBounds;               // what tooth 0's paths cover, at every level
    double rootRadius = 0;            // smallest distance of the outline from the centre
    double tipRadius = 0;             // largest distance

    // The coarsest level whose deviation stays below a quarter of a device pixel at
    // pixelsPerMm (device pixels per mm).
    std::size_t levelFor(double pixelsPerMm) const;
    // The finest level at or above level that has a whole outline; the coarsest (with an empty
    // outline) when none has.
    std::size_t wholeLevelFor(std::size_t level) const;
};

// Most path elements of a whole outline at one level (about 6 MB of path); a gear whose coarsest
// outline needs more has none (the window fills it to its root circle).
inline constexpr std::size_t kMaxWholeElements = 250000;

// The paths of a gear's drawn outline (both of its flanks hold the same number of points).
OutlinePaths buildOutlinePaths(const GearOutline& outline);

// Everything the window shows of one pair.
struct MeshScene {
    MeshView view;
    OutlinePaths gear1;  // empty when the view failed
    OutlinePaths gear2;
};

// Prepares the view of the pair (mesh check included) and its paths; takes up to a few tenths of
// a second for 400 teeth, so the window calls it on a worker thread.
std::shared_ptr<const MeshScene> buildMeshScene(const GearPairInput& input, double backlash);

}  // namespace kellvor
