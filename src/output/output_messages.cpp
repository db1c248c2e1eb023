#include "output/output_messages.h"

#include "geometry/printable.h"

namespace kellvor::output_messages {
namespace {

std::string quoted(const std::filesystem::path& path) {
    std::string text(1, '"');
    text.append(printable(path.string()));
    text.push_back('"');
    return text;
}

std::string files(int count) {
    return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
}

}  // namespace

std::string fileError(const std::filesystem::path& path, std::string_view action,
                      std::error_code reason) {
    return "Datei " + quoted(path) + " " + std::string(action) + ": " + reason.message();
}

std::string folderError(const std::filesystem::path& path, std::string_view action,
                        std::error_code reason) {
    return "Ordner " + quoted(path) + " " + std::string(action) + ": " + reason.message();
}

std::string notDurable(const std::filesystem::path& dir, std::error_code reason) {
    return "Die neuen Dateien stehen in " + quoted(dir) +
           ", sind aber nicht sicher auf dem Datenträger: " + reason.message();
}

std::string leftForRecovery(const std::filesystem::path& dir) {
    return "; der begonnene Wechsel in " + quoted(dir) +
           " wird beim nächsten Schreiben in diesen Ordner abgeschlossen";
}

std::string leftAlone(const std::filesystem::path& path, std::string_view why) {
    return quoted(path) + " bleibt unberührt: " + std::string(why);
}

std::string leftAloneUnreadable(const std::filesystem::path& path, std::error_code reason) {
    return quoted(path) + " bleibt unberührt: lässt sich nicht lesen (" + reason.message() + ")";
}

std::string recoveryDone(const std::filesystem::path& dir, int filesForward, int filesBack,
                         int leftoversRemoved) {
    if (filesForward == 0 && filesBack == 0 && leftoversRemoved == 0)
        return "In " + quoted(dir) + " gibt es nichts wiederherzustellen.";
    std::string text = "In " + quoted(dir) + ":";
    if (filesForward > 0)
        text += " Wechsel eines abgebrochenen Laufs abgeschlossen (" + files(filesForward) +
                " an ihren Platz gebracht).";
    if (filesBack > 0)
        text +=
            " Abgebrochener Wechsel zurückgenommen (" + files(filesBack) + " wiederhergestellt).";
    if (leftoversRemoved > 0)
        text += " Übrig gebliebene Hilfsdateien abgebrochener Läufe entfernt: " +
                std::to_string(leftoversRemoved) + ".";
    return text;
}

std::string notEnoughSpace(const std::filesystem::path& dir, std::uint64_t neededMB,
                           std::uint64_t freeMB) {
    return "Nicht genug Speicherplatz in " + quoted(dir) + ": benötigt " +
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
