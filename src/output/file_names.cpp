#include "output/file_names.h"

#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace kellvor {
namespace {

constexpr std::string_view kTemporaryTag = ".tmp-";
constexpr std::string_view kBackupTag = ".old-";
constexpr std::string_view kRecordPrefix = ".kellvor-switch-";
constexpr std::size_t kSuffixDigits = 16;

std::string hexSuffix(std::uint64_t random) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(kSuffixDigits, '0');
    for (std::size_t i = kSuffixDigits; i-- > 0; random >>= 4)
        text[i] = kHex[random & 0xF];
    return text;
}

bool isHexSuffix(std::string_view text) {
    return text.size() == kSuffixDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace

bool isSetFileName(std::string_view name) {
    return std::find(kSetFileNames.begin(), kSetFileNames.end(), name) != kSetFileNames.end();
}

std::string helperName(HelperKind kind, std::string_view target, std::uint64_t random) {
    // Hidden names beside the target, so that every rename stays inside one file system.
    std::string name;
    if (kind == HelperKind::record) {
        name.append(kRecordPrefix);
    } else {
        name.push_back('.');
        name.append(target);
        name.append(kind == HelperKind::temporary ? kTemporaryTag : kBackupTag);
    }
    name.append(hexSuffix(random));
    return name;
}

std::optional<HelperName> parseHelperName(std::string_view name) {
    if (name.starts_with(kRecordPrefix)) {
        if (isHexSuffix(name.substr(kRecordPrefix.size())))
            return HelperName{HelperKind::record, {}};
        return std::nullopt;
    }
    const std::size_t tagAt = kTemporaryTag.size() + kSuffixDigits;
    if (name.size() <= tagAt + 1 || name.front() != '.' ||
        !isHexSuffix(name.substr(name.size() - kSuffixDigits)))
        return std::nullopt;
    const std::string_view tag = name.substr(name.size() - tagAt, kTemporaryTag.size());
    const std::string target(name.substr(1, name.size() - tagAt - 1));
    if (tag == kTemporaryTag)
        return HelperName{HelperKind::temporary, target};
    if (tag == kBackupTag)
        return HelperName{HelperKind::backup, target};
    return std::nullopt;
}

std::uint64_t randomNameBits() {
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits))
        return bits;
    // Without the kernel's pool (very early at boot) the clock and the process still make a
    // name that no earlier run used; exclusive creation catches the rest.
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(now) * 0x9E3779B97F4A7C15ull ^
           static_cast<std::uint64_t>(::getpid());
}

}  // namespace kellvor
