#include "output/drawing_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <deque>
#include <vector>

#include "geometry/constants.h"
#include "outline/contour.h"
#include "outline/contour_area.h"
#include "outline/point.h"
#include "output/dxf_entity.h"
#include "output/dxf_reader.h"
#include "output/output_messages.h"

namespace kellvor {
namespace {

// Closure: a billionth of the drawing's size.
constexpr double kClosureShare = 1e-9;
// Involute: a billionth of the module and the rounding of 15 digits of coordinates of size ra.
constexpr double kInvoluteModuleShare = 1e-9;
constexpr double kInvoluteSizeShare = 1e-14;
// Area, relative.
constexpr double kAreaShare = 1e-12;
// Up to this many teeth the whole contour is checked at once.
constexpr std::int32_t kWholeContourTeeth = 8;
// Each tooth is checked against itself and the teeth before it.
constexpr std::size_t kTeethBefore = 2;
// A tooth stays within this many pitches of its centre line (clockwise angle phi), so that
// teeth three apart cannot meet.
constexpr double kSectorPitches = 1.5;

double distance(Point2 a, Point2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// p turned back counter-clockwise by the rotation r (the inverse of turn).
Point2 turnBack(const Rotation& r, Point2 p) {
    return Point2{r.c * p.x - r.s * p.y, r.s * p.x + r.c * p.y};
}

Point2 onCircle(Point2 centre, double radius, double degrees) {
    const double a = degrees * kDegToRad;
    return Point2{centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

// Normal distance of q (tooth frame) from the first flank's involute, or from its mirror image:
// a point off by the polar angle d lies rb d off along the involute's normal.
double involuteDistance(Point2 q, double rb, double psi0, bool mirrored) {
    const double x = mirrored ? -q.x : q.x;
    const double r = std::hypot(x, q.y);
    if (!(r >= rb))
        return (rb - r) + rb * std::fabs(std::atan2(x, q.y) - psi0);
    const double alpha = std::acos(rb / r);
    return rb * std::fabs(std::atan2(x, q.y) - (psi0 - (std::tan(alpha) - alpha)));
}

DrawingFinding finding(DrawingFault fault, std::int64_t handle, double deviation, double allowed) {
    return DrawingFinding{fault, handle, deviation, allowed, {}};
}

DrawingFinding unreadable(std::string detail, std::int64_t handle = 0) {
    return DrawingFinding{DrawingFault::unreadable, handle, 0, 0, std::move(detail)};
}

// The elements of one tooth as read, with the handles of their entities.
struct ReadTooth {
    std::vector<ContourElement> elements;
    std::vector<std::int64_t> handles;
};

// Teeth laid end to end, ready for the crossing test.
struct Chain {
    std::vector<ContourElement> elements;
    std::vector<std::int64_t> handles;

    void append(const ReadTooth& tooth) {
        elements.insert(elements.end(), tooth.elements.begin(), tooth.elements.end());
        handles.insert(handles.end(), tooth.handles.begin(), tooth.handles.end());
    }
};

// The contour as read, element by element in file order.
class DrawingWalk {
  public:
    explicit DrawingWalk(const DrawingExpectation& e)
        : m_e(e),
          m_n(e.profile->count()),
          m_tau(360.0 / e.z),
          m_closeTol(kClosureShare * 2 * e.profile->tipRadius),
          m_involuteTol(kInvoluteModuleShare * e.mn + kInvoluteSizeShare * e.profile->tipRadius),
          m_crossTol(kClosureShare * std::max(e.profile->tipRadius, e.arc->radius)),
          m_whole(e.z <= kWholeContourTeeth) {}

    std::optional<DrawingFinding> take(const DxfEntity& entity) {
        const std::int64_t offset = entity.handle - kFirstHandle;
        const std::int64_t k = offset >= 0 ? offset / m_n : -1;
        const auto j = static_cast<std::int32_t>(offset >= 0 ? offset % m_n : 0);
        if (k < m_tooth || k >= m_e.z || entity.isArc != (j == m_n - 1))
            return unreadable(output_messages::unexpectedHandle(entity.handle), entity.handle);
        // The walk turns tooth k by phi, summed pitch by pitch.
        while (m_tooth < k) {
            m_phi = m_tooth < 0 ? 0.0 : m_phi + m_tau;
            m_rotation = clockwiseRotation(m_phi);
            ++m_tooth;
            m_teeth.emplace_back();
        }

        ContourElement element;
        if (entity.isArc) {
            const Point2 from = onCircle(entity.centre, entity.radius, entity.startAngle);
            const Point2 to = onCircle(entity.centre, entity.radius, entity.endAngle);
            // The contour runs along the arc from whichever end the element before reached.
            if (m_started && distance(m_current, from) <= m_closeTol)
                element = arcElement(entity.centre, entity.radius, from, to, true);
            else if (m_started && distance(m_current, to) <= m_closeTol)
                element = arcElement(entity.centre, entity.radius, to, from, false);
            else
                return finding(
                    DrawingFault::notClosed, entity.handle,
                    m_started ? std::min(distance(m_current, from), distance(m_current, to)) : 0.0,
                    m_closeTol);
            ++m_arcs;
        } else {
            element = segmentElement(entity.start, entity.end);
            if (m_started && distance(m_current, entity.start) > m_closeTol)
                return finding(DrawingFault::notClosed, entity.handle,
                               distance(m_current, entity.start), m_closeTol);
            for (const auto& [p, visiting] :
                 {std::pair{entity.start, j}, std::pair{entity.end, j + 1}})
                if (auto off = checkPoint(p, visiting, entity.handle))
                    return off;
        }
        if (auto outside = checkSector(element, entity.handle))
            return outside;
        if (!m_started)
            m_first = element.start;
        m_started = true;
        m_current = element.end;
        m_lastHandle = entity.handle;
        m_area.add(element);
        m_teeth.back().elements.push_back(element);
        m_teeth.back().handles.push_back(entity.handle);
        if (entity.isArc)
            return toothDone();
        return std::nullopt;
    }

    std::optional<DrawingFinding> finish() {
        if (m_arcs != m_e.z)
            return unreadable(output_messages::toothCount(m_e.z, m_arcs));
        if (const double gap = distance(m_current, m_first); gap > m_closeTol)
            return finding(DrawingFault::notClosed, m_lastHandle, gap, m_closeTol);
        Chain chain;
        for (const ReadTooth& tooth : m_teeth)
            chain.append(tooth);
        if (m_whole) {
            if (auto c = findContourCrossing(chain.elements, m_crossTol))
                return crossing(*c, chain);
        } else {
            // The last teeth against the first ones: the contour closes there.
            const std::size_t focusBegin = chain.elements.size();
            for (const ReadTooth& tooth : m_firstTeeth)
                chain.append(tooth);
            if (auto c = findChainCrossing(chain.elements, m_crossTol, focusBegin,
                                           chain.elements.size()))
                return crossing(*c, chain);
        }
        const double expected = m_e.area;
        const double relative = std::fabs(m_area.value() - expected) / std::fabs(expected);
        if (!(relative <= kAreaShare))
            return finding(DrawingFault::areaDiffers, 0, relative, kAreaShare);
        return std::nullopt;
    }

  private:
    // The written point of the tooth's polyline at visiting index i (profile point N - 1 - i).
    std::optional<DrawingFinding> checkPoint(Point2 p, std::int32_t visiting,
                                             std::int64_t handle) const {
        const FlankProfile& profile = *m_e.profile;
        const std::int32_t index = m_n - 1 - visiting;
        const bool fillet = index < profile.filletCount || index >= m_n - profile.filletCount;
        if (fillet) {
            const double off =
                distance(p, turn(m_rotation, profile.points[static_cast<std::size_t>(index)]));
            if (!(off <= m_involuteTol))
                return finding(DrawingFault::offFillet, handle, off, m_involuteTol);
            return std::nullopt;
        }
        const double off = involuteDistance(turnBack(m_rotation, p), profile.baseRadius,
                                            profile.baseAngle, index >= m_n / 2);
        if (!(off <= m_involuteTol))
            return finding(DrawingFault::offInvolute, handle, off, m_involuteTol);
        return std::nullopt;
    }

    // Whether the element stays within kSectorPitches of its tooth's centre line: its ends
    // inside the wedge (less than 180 degrees wide, so that a segment between them is inside
    // too) and, for an arc, no meeting with the wedge's sides.
    std::optional<DrawingFinding> checkSector(const ContourElement& e, std::int64_t handle) const {
        if (m_whole)
            return std::nullopt;
        const double half = kSectorPitches * m_tau;
        for (const Point2 p : {e.start, e.end}) {
            const double cw = std::atan2(p.x, p.y) * kRadToDeg;
            if (!(std::fabs(std::remainder(cw - m_phi, 360.0)) < half))
                return finding(DrawingFault::outOfSector, handle, 0, 0);
        }
        if (e.isArc) {
            const double reach = 4 * m_e.profile->tipRadius;
            for (const double side : {m_phi - half, m_phi + half}) {
                const double a = side * kDegToRad;
                const ContourElement ray =
                    segmentElement({0, 0}, {reach * std::sin(a), reach * std::cos(a)});
                if (meetElements(e, ray, 0).count > 0)
                    return finding(DrawingFault::outOfSector, handle, 0, 0);
            }
        }
        return std::nullopt;
    }

    // The tooth just read against itself and the teeth before it.
    std::optional<DrawingFinding> toothDone() {
        if (m_whole)
            return std::nullopt;
        if (m_firstTeeth.size() < kTeethBefore)
            m_firstTeeth.push_back(m_teeth.back());
        Chain chain;
        for (const ReadTooth& tooth : m_teeth)
            chain.append(tooth);
        const std::size_t size = chain.elements.size();
        const std::size_t focus = size - m_teeth.back().elements.size();
        if (auto c = findChainCrossing(chain.elements, m_crossTol, focus, size))
            return crossing(*c, chain);
        if (m_teeth.size() > kTeethBefore)
            m_teeth.pop_front();
        return std::nullopt;
    }

    // The crossing named by the later of its two entities.
    DrawingFinding crossing(const ContourCrossing& c, const Chain& chain) const {
        return finding(DrawingFault::selfCrossing, chain.handles[c.second], 0, m_crossTol);
    }

    const DrawingExpectation& m_e;
    const std::int32_t m_n;
    const double m_tau;
    const double m_closeTol;
    const double m_involuteTol;
    const double m_crossTol;
    const bool m_whole;
    std::int64_t m_tooth = -1;
    double m_phi = 0;
    Rotation m_rotation;
    bool m_started = false;
    Point2 m_first;
    Point2 m_current;
    std::int64_t m_lastHandle = 0;
    std::int64_t m_arcs = 0;
    ContourArea m_area;
    std::deque<ReadTooth> m_teeth;
    std::vector<ReadTooth> m_firstTeeth;
};

}  // namespace

std::optional<DrawingFinding> checkWrittenDrawing(const std::filesystem::path& file,
                                                  const DrawingExpectation& expected) {
    if (expected.profile == nullptr || expected.arc == nullptr || expected.z <= 0 ||
        expected.profile->count() <= 0)
        return unreadable(output_messages::toothCount(expected.z, 0));
    DxfEntityReader reader(file);
    DrawingWalk walk(expected);
    while (const std::optional<DxfEntity> entity = reader.next()) {
        if (auto found = walk.take(*entity))
            return found;
    }
    if (!reader.error().empty())
        return unreadable(reader.error());
    return walk.finish();
}

}  // namespace kellvor
