// Shared helpers of the output tests: outlines written into memory, lines, sinks that fail.
#pragma once

#include <cerrno>
#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "geometry/gear_pair_geometry.h"
#include "geometry/gear_pair_input.h"
#include "outline/flank_profile.h"
#include "outline/gear_outline.h"
#include "outline/generated_root.h"
#include "outline/pair_placement.h"
#include "outline/root_arc.h"
#include "output/byte_sink.h"
#include "output/dxf_writer.h"
#include "output/trace_writer.h"

namespace kellvor::test {

// The spur example: z1 = 20, z2 = 40, mn = 2, b = 20, beta = 0, x1 = x2 = 0, 4 elements.
inline GearPairInput spurExample() {
    return GearPairInput{20, 40, 2.0, 20.0, 0.0, 0.0, 0.0, 4};
}

// Drawing and trace of one walk, written into memory.
struct WrittenOutline {
    std::string drawing;
    std::string trace;
    bool fitted = false;
};

// Fits the root arc for profile, walks all z1 teeth and hands each to both writers.
inline WrittenOutline writeOutline(const FlankProfile& profile, const GearPairGeometry& geometry,
                                   std::int32_t z1) {
    WrittenOutline out;
    StringSink drawingSink, traceSink;
    DxfOutlineWriter drawing(drawingSink);
    OutlineTraceWriter trace(traceSink);
    const std::optional<RootArc> fit = fitRootArc(profile, geometry.rf1, z1);
    out.fitted = fit.has_value();
    const RootArc arc = fit.value_or(RootArc{});
    drawing.open();
    trace.open();
    walkGearOutline(profile, arc, z1, [&](const OutlineTooth& tooth) {
        trace.writeTooth(tooth);
        drawing.writeTooth(tooth);
        return true;
    });
    drawing.close();
    trace.close();
    out.drawing = drawingSink.text();
    out.trace = traceSink.text();
    return out;
}

// A gear of a parameterised test with the root form its gaps are closed by.
struct RootCase {
    const char* name;
    GearPairInput input;
    RootForm root;
};

inline void PrintTo(const RootCase& c, std::ostream* os) {
    *os << c.name;
}

// The outline the walk turns for gear 1 of in: the generated root, or the flanks with the
// fitted three-point arc (an empty arc where none fits).
inline GearOutline outlineWithRoot(const GearPairInput& in, RootForm root) {
    const GearPairGeometry g = computeGearPairGeometry(in);
    GearOutline o;
    o.z = in.z1;
    if (root == RootForm::generated) {
        GeneratedRoot generated = buildGeneratedRoot(in, g);
        o.profile = std::move(generated.profile);
        o.arc = generated.arc;
    } else {
        o.profile = buildFlankProfile(g, in.x1, in.segmentCount);
        o.arc = fitRootArc(o.profile, g.rf1, in.z1).value_or(RootArc{});
    }
    return o;
}

// The lines of text without their line ends (text ends with a line end).
inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines first .. first + count - 1 (0-based).
inline std::vector<std::string> slice(const std::vector<std::string>& lines, std::size_t first,
                                      std::size_t count) {
    if (first >= lines.size())
        return {};
    const std::size_t last = std::min(lines.size(), first + count);
    return {lines.begin() + static_cast<std::ptrdiff_t>(first),
            lines.begin() + static_cast<std::ptrdiff_t>(last)};
}

// Accepts the first `limit` bytes, then fails with the given reason and counts later calls.
class FailingSink final : public ByteSink {
  public:
    FailingSink(std::size_t limit, std::errc reason = std::errc::no_space_on_device)
        : m_limit(limit), m_reason(reason) {}
    bool write(const char* data, std::size_t size) override {
        if (m_error) {
            ++m_callsAfterFailure;
            return false;
        }
        const std::size_t room = m_limit - m_text.size();
        m_text.append(data, std::min(room, size));
        if (size > room) {
            m_error = std::make_error_code(m_reason);
            return false;
        }
        return true;
    }
    std::error_code error() const override { return m_error; }
    const std::string& text() const { return m_text; }
    int callsAfterFailure() const { return m_callsAfterFailure; }

  private:
    std::size_t m_limit;
    std::errc m_reason;
    std::string m_text;
    std::error_code m_error;
    int m_callsAfterFailure = 0;
};

// Passes the bytes on to another sink and fails like FailingSink once `limit` bytes are through.
class FailingForwarder final : public ByteSink {
  public:
    FailingForwarder(ByteSink& target, std::size_t limit) : m_target(target), m_limit(limit) {}
    bool write(const char* data, std::size_t size) override {
        if (m_error)
            return false;
        const std::size_t room = m_limit - m_passed;
        const std::size_t n = std::min(room, size);
        if (!m_target.write(data, n))
            return false;
        m_passed += n;
        if (size > room) {
            m_error = std::make_error_code(std::errc::io_error);
            return false;
        }
        return true;
    }
    std::error_code error() const override { return m_error ? m_error : m_target.error(); }

  private:
    ByteSink& m_target;
    std::size_t m_limit;
    std::size_t m_passed = 0;
    std::error_code m_error;
};

}  // namespace kellvor::test
