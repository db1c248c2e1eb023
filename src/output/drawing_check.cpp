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
    return DrawingFinding{fault, handle, deviation, allowed, {}, false};
}

DrawingFinding unreadable(std::string detail, std::int64_t handle = 0) {
    return DrawingFinding{DrawingFault::unreadable, handle, 0, 0, std::move(detail), false};
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

    // Takes the entity that fills the given slot of the LINE and ARC drawing (its handle less
    // the first handle: tooth k = slot / N, element j = slot % N).
    std::optional<DrawingFinding> take(const DxfEntity& entity, std::int64_t slot) {
        const std::int64_t offset = slot;
        const std::int64_t k = offset >= 0 ? offset / m_n : -1;
        const auto j = static_cast<std::int32_t>(offset >= 0 ? offset % m_n : 0);
        if (k < m_tooth || k >= m_e.z || entity.isArc() != (j == m_n - 1))
            return unreadable(output_messages::unexpectedHandle(entity.handle), entity.handle);
        // The walk turns tooth k by phi, summed pitch by pitch.
        while (m_tooth < k) {
            m_phi = m_tooth < 0 ? 0.0 : m_phi + m_tau;
            m_rotation = clockwiseRotation(m_phi);
            ++m_tooth;
            m_teeth.emplace_back();
        }

        ContourElement element;
        if (entity.isArc()) {
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
        if (entity.isArc())
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

// The segments of the closed polyline of a CAM-ready drawing, as the LINE and ARC entities the
// minimal drawing holds in their place, each with its slot there (the tip land a pointed tooth
// does not write is passed over in both) and the handle of the vertex it starts at.
class PolylineSegments {
  public:
    explicit PolylineSegments(const FlankProfile& profile) : m_profile(profile) {}

    // The segment from the vertex before to this one; nothing for the first vertex.
    std::optional<std::pair<DxfEntity, std::int64_t>> next(const DxfEntity& vertex) {
        if (!m_started) {
            m_first = vertex;
            m_last = vertex;
            m_started = true;
            return std::nullopt;
        }
        auto segment = between(m_last, vertex.start);
        m_last = vertex;
        return segment;
    }
    // The segment from the last vertex back to the first.
    std::optional<std::pair<DxfEntity, std::int64_t>> closing() {
        if (!m_started)
            return std::nullopt;
        return between(m_last, m_first.start);
    }

  private:
    std::pair<DxfEntity, std::int64_t> between(const DxfEntity& from, Point2 to) {
        const std::int32_t n = m_profile.count();
        DxfEntity e;
        e.handle = from.handle;
        std::int64_t slot = 0;
        if (from.bulge != 0) {
            // The root arc: its circle from the chord and the bulge b = tan(sweep / 4); the centre
            // lies (c / 2) (1 - b^2) / (2 b) to the left of the chord of length c.
            e.kind = DxfEntityKind::arc;
            const double b = from.bulge;
            const double dx = to.x - from.start.x;
            const double dy = to.y - from.start.y;
            const double h = (1 - b * b) / (4 * b);
            e.centre =
                Point2{(from.start.x + to.x) / 2 - h * dy, (from.start.y + to.y) / 2 + h * dx};
            e.radius = std::hypot(dx, dy) * (1 + b * b) / (4 * std::fabs(b));
            const double a0 = std::atan2(from.start.y - e.centre.y, from.start.x - e.centre.x);
            const double a1 = std::atan2(to.y - e.centre.y, to.x - e.centre.x);
            e.startAngle = (b > 0 ? a0 : a1) * kRadToDeg;
            e.endAngle = (b > 0 ? a1 : a0) * kRadToDeg;
            slot = m_tooth * n + n - 1;
            ++m_tooth;
            m_element = 0;
        } else {
            e.kind = DxfEntityKind::line;
            e.start = from.start;
            e.end = to;
            while (m_element < n - 1 && visiting(m_element) == visiting(m_element + 1))
                ++m_element;
            slot = m_tooth * n + m_element;
            ++m_element;
        }
        return {e, slot};
    }
    // The profile point a tooth visits i-th (the walk runs from point N - 1 down to 0).
    Point2 visiting(std::int32_t i) const {
        return m_profile.points[static_cast<std::size_t>(m_profile.count() - 1 - i)];
    }

    const FlankProfile& m_profile;
    bool m_started = false;
    DxfEntity m_first;
    DxfEntity m_last;
    std::int64_t m_tooth = 0;
    std::int32_t m_element = 0;
};

// The minimal drawing: each LINE and ARC fills the slot its decimal handle names.
std::optional<DrawingFinding> walkLinesAndArcs(DxfEntityReader& reader, DrawingWalk& walk) {
    while (const std::optional<DxfEntity> entity = reader.next()) {
        if (entity->kind != DxfEntityKind::line && entity->kind != DxfEntityKind::arc)
            return unreadable(output_messages::unexpectedHandle(entity->handle), entity->handle);
        if (auto found = walk.take(*entity, entity->handle - kFirstHandle))
            return found;
    }
    return std::nullopt;
}

// The CAM-ready drawing: one closed POLYLINE, its VERTEX entities and a SEQEND, nothing else.
std::optional<DrawingFinding> walkPolyline(DxfEntityReader& reader, DrawingWalk& walk,
                                           const FlankProfile& profile) {
    PolylineSegments segments(profile);
    DxfEntityKind expected = DxfEntityKind::polyline;
    bool ended = false;  // the SEQEND was read: nothing may follow
    while (const std::optional<DxfEntity> entity = reader.next()) {
        const bool fits = entity->kind == expected || (expected == DxfEntityKind::vertex &&
                                                       entity->kind == DxfEntityKind::seqend);
        if (ended || !fits)
            return unreadable(output_messages::unexpectedHandle(entity->handle), entity->handle);
        if (entity->kind == DxfEntityKind::polyline) {
            if (!entity->closed)
                return finding(DrawingFault::notClosed, entity->handle, 0, 0);
            expected = DxfEntityKind::vertex;
            continue;
        }
        const auto segment =
            entity->kind == DxfEntityKind::vertex ? segments.next(*entity) : segments.closing();
        if (segment)
            if (auto found = walk.take(segment->first, segment->second))
                return found;
        ended = entity->kind == DxfEntityKind::seqend;
    }
    return std::nullopt;
}

}  // namespace

std::optional<DrawingFinding> checkWrittenDrawing(const std::filesystem::path& file,
                                                  const DrawingExpectation& expected) {
    if (expected.profile == nullptr || expected.arc == nullptr || expected.z <= 0 ||
        expected.profile->count() <= 0)
        return unreadable(output_messages::toothCount(expected.z, 0));
    const bool cam = expected.style == DxfStyle::cam;
    DxfEntityReader reader(file, cam ? 16 : 10);
    DrawingWalk walk(expected);
    std::optional<DrawingFinding> found =
        cam ? walkPolyline(reader, walk, *expected.profile) : walkLinesAndArcs(reader, walk);
    if (!found && !reader.error().empty())
        found = unreadable(reader.error());
    if (!found)
        found = walk.finish();
    if (found)
        found->hexHandle = cam;
    return found;
}

}  // namespace kellvor
