// Kellvor's own file names in an output folder, and the hidden names of the temporaries, backups
// and commit records that replace them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kellvor {

// The report, trace and drawing of gear 1: written by every file command.
inline constexpr const char* kReportFileName = "zahnradwerte.txt";
inline constexpr const char* kTraceFileName = "zahnrad.txt";
inline constexpr const char* kDrawingFileName = "zahnrad.dxf";
// The optional outputs of the same set: gear 2, the pair, the mesh check, SVG, JSON.
inline constexpr const char* kGear2DrawingFileName = "zahnrad2.dxf";
inline constexpr const char* kGear2TraceFileName = "zahnrad2.txt";
inline constexpr const char* kPairDrawingFileName = "zahnradpaar.dxf";
inline constexpr const char* kMeshCheckFileName = "eingriff.txt";
inline constexpr const char* kSvgFileName = "zahnrad.svg";
inline constexpr const char* kGear2SvgFileName = "zahnrad2.svg";
inline constexpr const char* kPairSvgFileName = "zahnradpaar.svg";
inline constexpr const char* kJsonFileName = "zahnradwerte.json";

// Every file of the set, the three that are always written first.
inline constexpr std::array<std::string_view, 11> kSetFileNames = {
    kReportFileName,     kTraceFileName,       kDrawingFileName,   kGear2DrawingFileName,
    kGear2TraceFileName, kPairDrawingFileName, kMeshCheckFileName, kSvgFileName,
    kGear2SvgFileName,   kPairSvgFileName,     kJsonFileName};
// How many names at the front of kSetFileNames every file command writes.
inline constexpr std::size_t kAlwaysWrittenCount = 3;

// True when name is one of kSetFileNames.
bool isSetFileName(std::string_view name);

// What a hidden helper file beside the set is.
enum class HelperKind {
    temporary,  // ".<target>.tmp-<16 hex>": a new file being written
    backup,     // ".<target>.old-<16 hex>": a hard link to the earlier target during a switch
    record,     // ".kellvor-switch-<16 hex>": the commit record of a switch
};

// A helper name taken apart: its kind and, for temporaries and backups, the target's name.
struct HelperName {
    HelperKind kind = HelperKind::temporary;
    std::string target;
};

// The helper name of the given kind for target (ignored for records) with a random suffix.
std::string helperName(HelperKind kind, std::string_view target, std::uint64_t random);

// The kind and target of name; nothing when name follows none of the helper patterns (the
// target may be any name: check it with isSetFileName where only the set counts).
std::optional<HelperName> parseHelperName(std::string_view name);

// 64 random bits for helper names (the kernel's random source, the clock when it fails).
std::uint64_t randomNameBits();

}  // namespace kellvor
