// Reads a DXF drawing back, entity by entity: the LINE and ARC entities of the minimal drawing and
// the POLYLINE, VERTEX and SEQEND entities of the CAM-ready one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "outline/point.h"

namespace kellvor {

// The kinds of entity the reader hands out.
enum class DxfEntityKind { line, arc, polyline, vertex, seqend };

// One entity of a drawing as read back.
struct DxfEntity {
    DxfEntityKind kind = DxfEntityKind::line;
    std::int64_t handle = -1;  // group 5, in the reader's base
    Point2 start;              // LINE: groups 10, 20; VERTEX: its point
    Point2 end;                // LINE: groups 11, 21
    Point2 centre;             // ARC: groups 10, 20
    double radius = 0;         // ARC: group 40
    double startAngle = 0;     // ARC: group 50, degrees ccw from +x; the arc runs ccw to the end
    double endAngle = 0;       // ARC: group 51
    double bulge = 0;          // VERTEX: group 42, tan(sweep / 4) of the arc to the next vertex
    bool closed = false;       // POLYLINE: bit 1 of group 70

    // Whether the entity is an ARC.
    bool isArc() const { return kind == DxfEntityKind::arc; }
};

// Reads the group code and value lines of a DXF file in pieces (memory stays flat for any size)
// and hands out the entities of its ENTITIES section in file order; other sections (HEADER,
// TABLES) are passed over.
class DxfEntityReader {
  public:
    // Opens file, whose handles are written in handleBase (10 in the minimal drawing, 16 in a
    // document with a header); a failure shows in error() and next() gives nothing.
    explicit DxfEntityReader(const std::filesystem::path& file, int handleBase = 10);
    DxfEntityReader(const DxfEntityReader&) = delete;
    DxfEntityReader& operator=(const DxfEntityReader&) = delete;
    ~DxfEntityReader();

    // The next entity; nothing at the end of the file or on the first error.
    std::optional<DxfEntity> next();
    // Why reading stopped early (German, naming the line); empty when the file was read to EOF.
    const std::string& error() const { return m_error; }

  private:
    bool readLine(std::string_view& line);
    bool readPair(int& code, std::string_view& value);
    void fail(std::string_view reason);

    int m_fd = -1;
    int m_handleBase = 10;
    bool m_inEntities = false;   // inside the ENTITIES section
    bool m_sectionName = false;  // a SECTION was just opened: its name comes next
    std::unique_ptr<char[]> m_data;
    std::size_t m_begin = 0;  // first unread byte
    std::size_t m_end = 0;    // one past the last byte read
    bool m_eof = false;
    std::int64_t m_lineNumber = 0;
    std::string m_error;
    std::string m_nextType;  // the value of the group 0 that ended the last entity: the next one's
    bool m_done = false;
};

}  // namespace kellvor
