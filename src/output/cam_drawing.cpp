#include "output/cam_drawing.h"

#include <cmath>

namespace kellvor {
namespace {

// The polyline of the CAM-ready gear drawing lies on the setup's first layer.
constexpr std::size_t kContourLayer = 0;

}  // namespace

double rootArcBulge(const OutlineTooth& tooth) {
    const double sweep = std::fmod(tooth.arcEndAngle - tooth.arcStartAngle + 720.0, 360.0);
    const double bulge = std::tan(sweep * kDegToRad / 4);
    return tooth.arcClockwise ? -bulge : bulge;
}

void writeContourTooth(DxfDocumentWriter& doc, std::size_t layer, const OutlineTooth& tooth) {
    const auto points = tooth.points();
    const auto same = [&](std::size_t i) { return i > 0 && points[i] == points[i - 1]; };
    // The root arc leaves the tooth's last point; where that repeats the point before it, the
    // vertex written for that one carries the bulge.
    std::size_t last = points.size();
    while (last > 0 && same(last - 1))
        --last;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!same(i))
            doc.vertex(layer, points[i], i + 1 == last ? rootArcBulge(tooth) : 0.0);
}

std::uint64_t contourEntities(const GearOutline& outline) {
    return static_cast<std::uint64_t>(outline.z) *
               static_cast<std::uint64_t>(outline.profile.count()) +
           2;
}

DxfDocumentSetup camGearSetup(const GearOutline& outline, std::string_view layer) {
    DxfDocumentSetup setup;
    setup.layers = {DxfLayer{layer, 7}};
    const double r = outlineReach(outline).max;
    setup.extMin = Point2{-r, -r};
    setup.extMax = Point2{r, r};
    setup.maxEntities = contourEntities(outline);
    return setup;
}

CamDrawingWriter::CamDrawingWriter(ByteSink& sink, BackgroundWriter* background)
    : m_doc(sink, background) {}

bool CamDrawingWriter::open(const DxfDocumentSetup& setup) {
    const bool opened = m_doc.open(setup);
    m_doc.polyline(kContourLayer);
    return opened;
}

bool CamDrawingWriter::writeTooth(const OutlineTooth& tooth) {
    writeContourTooth(m_doc, kContourLayer, tooth);
    return m_doc.ok();
}

bool CamDrawingWriter::close() {
    m_doc.seqend(kContourLayer);
    return m_doc.close();
}

}  // namespace kellvor
