// The memory a preview picture needs, checked against what the process may still allocate.
#pragma once

#include <cstdint>
#include <optional>

namespace kellvor {

// Bytes a width x height preview needs while it is painted and encoded: the RGB picture, and
// beside it the PNG bytes and libpng's buffers (taken as half the picture again).
std::uint64_t previewMemoryBytes(std::int32_t width, std::int32_t height);

// Bytes this process can still allocate: the least of what its address-space limit leaves
// beside what is mapped already, what its control group's memory limit leaves, and the memory
// the system reports available; nothing when none of them is known.
std::optional<std::uint64_t> allocatableBytes();

}  // namespace kellvor
