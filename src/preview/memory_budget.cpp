#include "preview/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <string>

namespace kellvor {
namespace {

// The first number in the file at path, when it has one.
std::optional<std::uint64_t> firstNumber(const char* path) {
    std::ifstream in(path);
    std::uint64_t value = 0;
    if (in >> value)
        return value;
    return std::nullopt;
}

// MemAvailable of /proc/meminfo in bytes.
std::optional<std::uint64_t> systemAvailable() {
    std::ifstream in("/proc/meminfo");
    for (std::string key; in >> key;) {
        std::uint64_t kB = 0;
        if (!(in >> kB))
            break;
        if (key == "MemAvailable:")
            return kB * 1024;
        in.ignore(64, '\n');
    }
    return std::nullopt;
}

// What RLIMIT_AS leaves beside the mapped address space (/proc/self/statm counts pages).
std::optional<std::uint64_t> addressSpaceLeft() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    const auto pages = firstNumber("/proc/self/statm");
    if (!pages)
        return std::nullopt;
    const std::uint64_t mapped = *pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return limit.rlim_cur > mapped ? limit.rlim_cur - mapped : 0;
}

// What the control group's limit leaves (cgroup v2, as a container sees its own group).
std::optional<std::uint64_t> controlGroupLeft() {
    const auto max = firstNumber("/sys/fs/cgroup/memory.max");  // "max" reads as no number
    const auto current = firstNumber("/sys/fs/cgroup/memory.current");
    if (!max || !current)
        return std::nullopt;
    return *max > *current ? *max - *current : 0;
}

}  // namespace

std::uint64_t previewMemoryBytes(std::int32_t width, std::int32_t height) {
    const std::uint64_t picture = static_cast<std::uint64_t>(std::max(width, 0)) *
                                  static_cast<std::uint64_t>(std::max(height, 0)) * 3;
    return picture + picture / 2;
}

std::optional<std::uint64_t> allocatableBytes() {
    std::optional<std::uint64_t> least;
    for (const auto bound : {addressSpaceLeft(), controlGroupLeft(), systemAvailable()}) {
        if (bound && (!least || *bound < *least))
            least = bound;
    }
    return least;
}

}  // namespace kellvor
