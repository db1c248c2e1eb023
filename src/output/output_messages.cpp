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

std::string drawingLineError(std::int64_t line, std::string_view reason) {
    return "Zeile " + std::to_string(line) + " der Zeichnung: " + std::string(reason);
}

std::string unknownEntity(std::string_view type) {
    return "unerwartetes Element \"" + printable(type) + "\"";
}

std::string badGroupValue(int code) {
    return "Wert von Gruppencode " + std::to_string(code) + " ist keine Zahl";
}

std::string incompleteEntity(std::string_view type) {
    return "Element " + printable(type) + " unvollständig";
}

std::string unexpectedHandle(std::int64_t handle) {
    return "Element mit Handle " + std::to_string(handle) + " an unerwarteter Stelle";
}

std::string toothCount(std::int64_t expected, std::int64_t read) {
    return std::to_string(read) + " Zähne gelesen, " + std::to_string(expected) + " erwartet";
}

}  // namespace kellvor::output_messages
