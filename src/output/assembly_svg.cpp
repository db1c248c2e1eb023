#include "output/assembly_svg.h"

#include <algorithm>

namespace kellvor {

SvgBox assemblySvgBox(const AssemblyDrawing& d) {
    const double r1 = outlineReach(d.gear1).max;
    const double r2 = outlineReach(d.gear2).max;
    const double margin = kSvgMarginShare * std::max(r1, r2);
    const double half = std::max(r1, r2) + margin;
    return SvgBox{-half, -r1 - margin, half, d.a + r2 + margin};
}

bool writeAssemblySvg(SvgOutlineWriter& svg, const AssemblyDrawing& d, std::string_view title,
                      const ProgressCallback& progress) {
    svg.open(assemblySvgBox(d), title);
    svg.beginPath(kGear1PathId);
    const std::int64_t total = std::int64_t{d.gear1.z} + d.gear2.z;
    int current = 0;
    const bool walked = walkAssemblyTeeth(d, [&](int gear, const OutlineTooth& tooth) {
        if (gear != current) {
            svg.endPath();
            svg.beginPath(kGear2PathId);
            current = gear;
        }
        if (!svg.writeTooth(tooth))
            return false;
        const std::int64_t done = (gear == 0 ? 0 : d.gear1.z) + tooth.index + 1;
        return !progress || progress(done, total);
    });
    if (!walked)
        return false;
    return svg.endPath() && svg.close();
}

std::uint64_t maxAssemblySvgBytes(const AssemblyDrawing& d, std::uint64_t titleBytes) {
    return maxSvgBytes(d.gear1.z, d.gear1.profile.count(), titleBytes) +
           maxSvgBytes(d.gear2.z, d.gear2.profile.count(), 0);
}

}  // namespace kellvor
