#include "flushing_stream_writer.h"

#include <fcntl.h>

#include "output/dxf_writer.h"
#include "output/file_sink.h"
#include "output/trace_writer.h"

#include <fstream>
#include <iomanip>

#include "outline/gear_outline.h"

namespace kellvor::bench {
namespace {

const char* const kProperties = "  8\n0\n  6\nCONTINUOUS\n 62\n     7\n  5\n";

// The ARC entity piece by piece, each value followed by std::endl.
void arcEntity(std::ofstream& out, std::int64_t handle, const OutlineTooth& t) {
    out << "0" << std::endl << "ARC" << std::endl << kProperties << handle << std::endl;
    out << " 10" << std::endl << t.arcCentreX << std::endl << "20" << std::endl;
    out << t.arcCentreY << std::endl << "30\n0.0\n 40" << std::endl << t.arcRadius << std::endl;
    out << "50" << std::endl << t.arcStartAngle << std::endl << "51" << std::endl;
    out << t.arcEndAngle << std::endl;
}

}  // namespace

void writeWithFlushingStreams(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                              const std::filesystem::path& dir) {
    std::ofstream trace(dir / "zahnrad.txt");
    std::ofstream drawing(dir / "zahnrad.dxf");
    // Precision 15 in the default notation is printf's %.15g, the drawing's format.
    drawing << std::setprecision(15);
    drawing << "  0\nSECTION\n  2\nENTITIES\n";
    std::int64_t handle = 27;
    walkGearOutline(profile, arc, z1, [&](const OutlineTooth& t) {
        const auto p = t.points();
        for (std::size_t j = 0; j < p.size(); ++j) {
            trace << p[j].x << " " << p[j].y << std::endl;
            if (j == 0)
                continue;
            drawing << "0\nLINE\n" << kProperties << handle++ << std::endl;
            drawing << " 10\n" << p[j - 1].x << std::endl << 20 << std::endl;
            drawing << p[j - 1].y << std::endl << " 30\n0.0\n 11\n" << p[j].x << std::endl;
            drawing << " 21" << std::endl << p[j].y << std::endl << " 31\n0.0\n";
        }
        arcEntity(drawing, handle++, t);
        arcEntity(trace, 27 + (std::int64_t{t.index} + 1) * t.pointCount(), t);
        return true;
    });
    drawing << "0\nENDSEC\n0\nEOF\n";
}

void writeOnOneThread(const FlankProfile& profile, const RootArc& arc, std::int32_t z1,
                      const std::filesystem::path& dir) {
    const auto create = [&](const char* name) {
        return ::open((dir / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    };
    FileSink drawingFile(create("zahnrad.dxf"));
    FileSink traceFile(create("zahnrad.txt"));
    DxfOutlineWriter drawing(drawingFile);
    OutlineTraceWriter trace(traceFile);
    drawing.open();
    trace.open();
    walkGearOutline(profile, arc, z1, [&](const OutlineTooth& t) {
        return drawing.writeTooth(t) && trace.writeTooth(t);
    });
    drawing.close();
    trace.close();
    drawingFile.close();
    traceFile.close();
}

}  // namespace kellvor::bench
