#include "output/output_messages.h"

#include "geometry/printable.h"

namespace kellvor::output_messages {

std::string fileError(const std::filesystem::path& path, std::string_view action,
                      std::error_code reason) {
    return "Datei \"" + printable(path.string()) + "\" " + std::string(action) + ": " +
           reason.message();
}

std::string notRestored(const std::filesystem::path& path) {
    return "; die frühere Datei \"" + printable(path.string()) +
           "\" ließ sich nicht wiederherstellen";
}

std::string notEnoughSpace(const std::filesystem::path& dir, std::uint64_t neededMB,
                           std::uint64_t freeMB) {
    return "Nicht genug Speicherplatz in \"" + printable(dir.string()) + "\": benötigt " +
           std::to_string(neededMB) + " MB, frei " + std::to_string(freeMB) + " MB";
}

}  // namespace kellvor::output_messages
