// The walk over all teeth of gear 1: each tooth turned by its pitch angle with its root arc.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "geometry/constants.h"
#include "outline/flank_profile.h"
#include "outline/point.h"
#include "outline/root_arc.h"

namespace kellvor {

// One turned tooth: its polyline in visiting order (profile point N-1 first) and its root arc.
struct OutlineTooth {
    std::int32_t index = 0;  // k, from 0
    double angle = 0;        // clockwise turn of this tooth in degrees, accumulated by addition
    std::array<Point2, kFlankProfileCapacity> polyline{};  // storage; the first pointCount used
    std::int32_t pointCount = 0;                           // N
    double arcCentreX = 0, arcCentreY = 0;                 // root arc centre turned with the tooth
    double arcRadius = 0;
    double arcStartAngle = 0;  // degrees ccw from +x; the arc runs ccw from start to end
    double arcEndAngle = 0;

    // The N turned points in visiting order.
    std::span<const Point2> points() const {
        return {polyline.data(), static_cast<std::size_t>(pointCount)};
    }
};

// Receives each tooth as soon as it is built; returning false stops the walk early.
using ToothConsumer = std::function<bool(const OutlineTooth&)>;

// Walks the z1 teeth in order, handing each to consume. arc is in/out: read once before tooth 0,
// then each tooth's turned centre is stored back. Returns the number of teeth handed on.
std::int64_t walkGearOutline(const FlankProfile& profile, RootArc& arc, std::int32_t z1,
                             const ToothConsumer& consume);

}  // namespace kellvor
