#include "output/trace_writer.h"

#include "output/dxf_entity.h"

namespace kellvor {

OutlineTraceWriter::OutlineTraceWriter(ByteSink& sink, BackgroundWriter* background)
    : m_buffer(sink, background) {}

bool OutlineTraceWriter::open() {
    return m_buffer.ok();
}

bool OutlineTraceWriter::writeTooth(const OutlineTooth& tooth) {
    for (const Point2& point : tooth.points()) {
        char* p = m_buffer.reserve(kEntityReserve);
        p = formatReal(p, point.x, kTracePrecision);
        *p++ = ' ';
        p = formatReal(p, point.y, kTracePrecision);
        *p++ = '\n';
        m_buffer.commit(p);
    }
    // The number after the handle's group code continues the drawing's count: one past the
    // handle of this tooth's ARC.
    const std::int64_t handle =
        kFirstHandle + (static_cast<std::int64_t>(tooth.index) + 1) * tooth.pointCount();
    char* p = m_buffer.reserve(kEntityReserve);
    m_buffer.commit(putArc(p, handle, tooth, kTracePrecision));
    return m_buffer.ok();
}

bool OutlineTraceWriter::close() {
    return m_buffer.finish();
}

std::uint64_t maxTraceBytes(std::int64_t z1, std::int64_t pointCount) {
    if (z1 <= 0 || pointCount <= 0)
        return 0;
    const auto teeth = static_cast<std::uint64_t>(z1);
    const auto n = static_cast<std::uint64_t>(pointCount);
    const std::uint64_t handleChars =
        decimalDigits(static_cast<std::uint64_t>(kFirstHandle) + teeth * n);
    const std::uint64_t pointLine = 2 * kMaxTraceRealChars + 2;
    return teeth * (n * pointLine + maxArcBytes(handleChars, kMaxTraceRealChars));
}

}  // namespace kellvor
