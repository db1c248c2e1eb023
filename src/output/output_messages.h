// The German messages of the output layer: what went wrong with which file or folder, and what
// a recovery did.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace kellvor::output_messages {

// What could not be done with a file, completing "Datei "<path>" ...".
inline constexpr std::string_view kCannotCreate = "kann nicht angelegt werden";
inline constexpr std::string_view kCannotWrite = "kann nicht geschrieben werden";
inline constexpr std::string_view kCannotReplace = "kann nicht ersetzt werden";
inline constexpr std::string_view kCannotBackUp = "kann nicht gesichert werden";
inline constexpr std::string_view kCannotRemove = "kann nicht entfernt werden";
inline constexpr std::string_view kCannotRecover = "kann nicht wiederhergestellt werden";

// What could not be done with a folder, completing "Ordner "<path>" ...".
inline constexpr std::string_view kCannotOpenFolder = "kann nicht geöffnet werden";
inline constexpr std::string_view kCannotLockFolder = "kann nicht gesperrt werden";
inline constexpr std::string_view kCannotSyncFolder =
    "kann nicht auf den Datenträger geschrieben werden";
inline constexpr std::string_view kCannotListFolder = "kann nicht gelesen werden";

// Why a recovery left a file alone, completing ""<path>" bleibt unberührt: ...".
inline constexpr std::string_view kOtherOwner = "gehört einem anderen Benutzer";
inline constexpr std::string_view kNotRegular = "ist keine gewöhnliche Datei";
inline constexpr std::string_view kRecordMalformed = "ist kein gültiger Umschaltvermerk";
inline constexpr std::string_view kRecordForeign =
    "nennt Dateien außerhalb der Kellvor-Dateien dieses Ordners";
inline constexpr std::string_view kRecordTooLarge = "ist zu groß für einen Umschaltvermerk";

inline constexpr std::string_view kCannotRead = "kann nicht gelesen werden";

// Why a drawing read back is no drawing of LINE and ARC entities, completing
// "Zeile <n> der Zeichnung: ...".
inline constexpr std::string_view kLineTooLong = "Zeile zu lang";
inline constexpr std::string_view kNoGroupCode = "kein Gruppencode";
inline constexpr std::string_view kNoGroupValue = "Gruppencode ohne Wert";
inline constexpr std::string_view kNoEndOfFile = "Datei endet ohne EOF";

// "Zeile <n> der Zeichnung: <reason>".
std::string drawingLineError(std::int64_t line, std::string_view reason);

// An entity the drawing writer never writes.
std::string unknownEntity(std::string_view type);

// A group value that is no number.
std::string badGroupValue(int code);

// An entity without one of its coordinates or its handle.
std::string incompleteEntity(std::string_view type);

// An entity whose handle is not where the drawing writer puts it.
std::string unexpectedHandle(std::int64_t handle);

// A drawing with another number of teeth (root arcs) than the gear.
std::string toothCount(std::int64_t expected, std::int64_t read);

// "Datei "<path>" <action>: <reason>".
std::string fileError(const std::filesystem::path& path, std::string_view action,
                      std::error_code reason);

// "Ordner "<path>" <action>: <reason>".
std::string folderError(const std::filesystem::path& path, std::string_view action,
                        std::error_code reason);

// The new files are in place in dir, but the folder could not be synced to the disk.
std::string notDurable(const std::filesystem::path& dir, std::error_code reason);

// Appended when a switch that failed half way could not be undone: the next run finishes it.
std::string leftForRecovery(const std::filesystem::path& dir);

// ""<path>" bleibt unberührt: <why>".
std::string leftAlone(const std::filesystem::path& path, std::string_view why);

// ""<path>" bleibt unberührt: lässt sich nicht lesen (<reason>)".
std::string leftAloneUnreadable(const std::filesystem::path& path, std::error_code reason);

// What a recovery of dir did: switches finished forward (files put in place) or undone (files
// put back), leftovers removed; "nichts wiederherzustellen" when all are zero.
std::string recoveryDone(const std::filesystem::path& dir, int filesForward, int filesBack,
                         int leftoversRemoved);

// "Nicht genug Speicherplatz in "<dir>": benötigt X MB, frei Y MB".
std::string notEnoughSpace(const std::filesystem::path& dir, std::uint64_t neededMB,
                           std::uint64_t freeMB);

}  // namespace kellvor::output_messages
