#include "output/free_space.h"

#include <system_error>

#include "output/dxf_writer.h"
#include "output/output_messages.h"
#include "output/trace_writer.h"

namespace kellvor {
namespace {

constexpr std::uint64_t kBytesPerMB = 1000000;

}  // namespace

std::uint64_t maxOutputBytes(std::uint64_t reportBytes, std::int64_t z1, std::int64_t pointCount) {
    return reportBytes + maxDrawingBytes(z1, pointCount) + maxTraceBytes(z1, pointCount);
}

std::optional<std::string> checkFreeSpace(const std::filesystem::path& dir, std::uint64_t needed) {
    std::error_code ec;
    const std::filesystem::space_info info = std::filesystem::space(dir, ec);
    if (ec || info.available == static_cast<std::uintmax_t>(-1))
        return std::nullopt;
    if (needed <= info.available)
        return std::nullopt;
    // Needed is rounded up and free rounded down, so the two never look equal.
    const std::uint64_t neededMB = (needed + kBytesPerMB - 1) / kBytesPerMB;
    const std::uint64_t freeMB = info.available / kBytesPerMB;
    return output_messages::notEnoughSpace(dir, neededMB, freeMB);
}

}  // namespace kellvor
