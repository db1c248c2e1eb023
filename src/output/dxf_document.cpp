#include "output/dxf_document.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "output/dxf_entity.h"

namespace kellvor {
namespace {

// The longest layer name R12 takes.
constexpr std::size_t kMaxLayerName = 31;
// Handles of the tables, before the layer entries (which start at kFirstLayerHandle).
constexpr std::uint64_t kLtypeTableHandle = 1;
constexpr std::uint64_t kContinuousHandle = 2;
constexpr std::uint64_t kLayerTableHandle = 3;
constexpr std::uint64_t kFirstLayerHandle = 4;
// Longest hexadecimal text of a 64-bit handle.
constexpr std::size_t kMaxHexChars = 16;
// Group code and value lines around an entity's parts.
constexpr std::string_view kEntityType = "  0\n";
constexpr std::string_view kHandleCode = "\n  5\n";
constexpr std::string_view kLayerCode = "\n  8\n";
constexpr std::string_view kEntitiesEnd = "  0\nENDSEC\n  0\nEOF\n";

bool allowedLayerName(std::string_view name) {
    if (name.empty() || name.size() > kMaxLayerName)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '$';
    });
}

char* putHex(char* p, std::uint64_t handle) {
    // DXF handles are upper-case hexadecimal without leading zeros.
    char* end = std::to_chars(p, p + kMaxHexChars, handle, 16).ptr;
    for (char* q = p; q != end; ++q)
        if (*q >= 'a' && *q <= 'f')
            *q = static_cast<char>(*q - 'a' + 'A');
    return end;
}

// A real after its group code line, e.g. " 10\n<x>\n".
char* putReal(char* p, std::string_view code, double v) {
    p = put(p, code);
    p = formatReal(p, v, kDrawingPrecision);
    *p++ = '\n';
    return p;
}

char* putPoint(char* p, Point2 v, std::string_view x, std::string_view y, std::string_view z) {
    p = putReal(p, x, v.x);
    p = putReal(p, y, v.y);
    p = put(p, z);
    return put(p, "0.0\n");
}

void appendText(std::string& text, const char* begin, const char* end) {
    text.append(begin, end);
}

void appendHex(std::string& text, std::uint64_t handle) {
    text += hexHandleText(handle);
}

// A 16-bit integer value right-justified in six places, as the DXF reference writes them.
void appendShort(std::string& text, std::int32_t v) {
    std::string digits = std::to_string(v);
    text.append(digits.size() < 6 ? 6 - digits.size() : 0, ' ');
    text += digits;
    text += '\n';
}

void appendPoint(std::string& text, Point2 v, std::string_view x, std::string_view y,
                 std::string_view z) {
    char buf[3 * kMaxRealChars + 32];
    appendText(text, buf, putPoint(buf, v, x, y, z));
}

// The layer entries: "0" first, then the setup's layers (each name once).
std::vector<DxfLayer> layerEntries(const DxfDocumentSetup& setup) {
    std::vector<DxfLayer> entries{DxfLayer{"0", 7}};
    for (const DxfLayer& layer : setup.layers)
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const DxfLayer& e) { return e.name == layer.name; }))
            entries.push_back(layer);
    return entries;
}

// HEADER, TABLES and the start of ENTITIES.
std::string headerText(const DxfDocumentSetup& setup) {
    const std::vector<DxfLayer> layers = layerEntries(setup);
    std::string t;
    t += "  0\nSECTION\n  2\nHEADER\n";
    t += "  9\n$ACADVER\n  1\nAC1009\n";
    // Millimetres. R12 readers do not know $INSUNITS and skip it; newer readers use it.
    t += "  9\n$INSUNITS\n 70\n";
    appendShort(t, 4);
    t += "  9\n$EXTMIN\n";
    appendPoint(t, setup.extMin, " 10\n", " 20\n", " 30\n");
    t += "  9\n$EXTMAX\n";
    appendPoint(t, setup.extMax, " 10\n", " 20\n", " 30\n");
    t += "  9\n$HANDLING\n 70\n";
    appendShort(t, 1);
    t += "  9\n$HANDSEED\n  5\n";
    appendHex(t, firstEntityHandle(setup.layers.size()) + setup.maxEntities);
    t += "\n  0\nENDSEC\n";

    t += "  0\nSECTION\n  2\nTABLES\n";
    t += "  0\nTABLE\n  2\nLTYPE\n  5\n";
    appendHex(t, kLtypeTableHandle);
    t += "\n 70\n";
    appendShort(t, 1);
    t += "  0\nLTYPE\n  5\n";
    appendHex(t, kContinuousHandle);
    t += "\n  2\nCONTINUOUS\n 70\n";
    appendShort(t, 0);
    t += "  3\nSolid line\n 72\n";
    appendShort(t, 65);
    t += " 73\n";
    appendShort(t, 0);
    t += " 40\n0.0\n  0\nENDTAB\n";
    t += "  0\nTABLE\n  2\nLAYER\n  5\n";
    appendHex(t, kLayerTableHandle);
    t += "\n 70\n";
    appendShort(t, static_cast<std::int32_t>(layers.size()));
    for (std::size_t i = 0; i < layers.size(); ++i) {
        t += "  0\nLAYER\n  5\n";
        appendHex(t, kFirstLayerHandle + i);
        t += "\n  2\n";
        t += layers[i].name;
        t += "\n 70\n";
        appendShort(t, 0);
        t += " 62\n";
        appendShort(t, layers[i].colour);
        t += "  6\nCONTINUOUS\n";
    }
    t += "  0\nENDTAB\n  0\nENDSEC\n";
    t += "  0\nSECTION\n  2\nENTITIES\n";
    return t;
}

constexpr std::uint64_t maxEntityBytes() {
    // An ARC is the longest: type, handle, layer and five reals with their group codes.
    return kEntityType.size() + 6 + kHandleCode.size() + kMaxHexChars + kLayerCode.size() +
           kMaxLayerName + 1 + 5 * (4 + kMaxDrawingRealChars + 1) + 2 * 9;
}

}  // namespace

DxfDocumentWriter::DxfDocumentWriter(ByteSink& sink, BackgroundWriter* background)
    : m_buffer(sink, background) {}

std::uint64_t firstEntityHandle(std::size_t layerCount) {
    return kFirstLayerHandle + 1 + layerCount;
}

bool DxfDocumentWriter::open(const DxfDocumentSetup& setup) {
    m_layers.clear();
    for (const DxfLayer& layer : setup.layers) {
        if (!allowedLayerName(layer.name))
            m_broken = true;
        m_layers.push_back(layer.name);
    }
    m_nextHandle = firstEntityHandle(setup.layers.size());
    m_maxEntities = setup.maxEntities;
    m_entities = 0;
    m_buffer.append(headerText(setup));
    return m_buffer.ok() && !m_broken;
}

char* DxfDocumentWriter::entityStart(std::string_view type, std::size_t layer) {
    if (layer >= m_layers.size() || m_entities >= m_maxEntities) {
        m_broken = true;
        return nullptr;
    }
    ++m_entities;
    char* p = m_buffer.reserve(kEntityReserve);
    p = put(p, kEntityType);
    p = put(p, type);
    p = put(p, kHandleCode);
    p = putHex(p, m_nextHandle++);
    p = put(p, kLayerCode);
    p = put(p, m_layers[layer]);
    *p++ = '\n';
    return p;
}

void DxfDocumentWriter::line(std::size_t layer, Point2 from, Point2 to) {
    char* p = entityStart("LINE", layer);
    if (p == nullptr)
        return;
    p = putPoint(p, from, " 10\n", " 20\n", " 30\n");
    m_buffer.commit(putPoint(p, to, " 11\n", " 21\n", " 31\n"));
}

void DxfDocumentWriter::arc(std::size_t layer, Point2 centre, double radius, double startDegrees,
                            double endDegrees) {
    char* p = entityStart("ARC", layer);
    if (p == nullptr)
        return;
    p = putPoint(p, centre, " 10\n", " 20\n", " 30\n");
    p = putReal(p, " 40\n", radius);
    p = putReal(p, " 50\n", startDegrees);
    m_buffer.commit(putReal(p, " 51\n", endDegrees));
}

void DxfDocumentWriter::circle(std::size_t layer, Point2 centre, double radius) {
    char* p = entityStart("CIRCLE", layer);
    if (p == nullptr)
        return;
    p = putPoint(p, centre, " 10\n", " 20\n", " 30\n");
    m_buffer.commit(putReal(p, " 40\n", radius));
}

void DxfDocumentWriter::polyline(std::size_t layer) {
    // 66: vertices follow; 70 bit 1: closed. The polyline's own point is its elevation.
    char* p = entityStart("POLYLINE", layer);
    if (p == nullptr)
        return;
    p = put(p, " 66\n     1\n");
    p = putPoint(p, Point2{0.0, 0.0}, " 10\n", " 20\n", " 30\n");
    m_buffer.commit(put(p, " 70\n     1\n"));
}

void DxfDocumentWriter::vertex(std::size_t layer, Point2 at, double bulge) {
    char* p = entityStart("VERTEX", layer);
    if (p == nullptr)
        return;
    p = putPoint(p, at, " 10\n", " 20\n", " 30\n");
    if (bulge != 0)
        p = putReal(p, " 42\n", bulge);
    m_buffer.commit(p);
}

void DxfDocumentWriter::seqend(std::size_t layer) {
    char* p = entityStart("SEQEND", layer);
    if (p != nullptr)
        m_buffer.commit(p);
}

bool DxfDocumentWriter::close() {
    m_buffer.append(kEntitiesEnd);
    return m_buffer.finish() && !m_broken;
}

std::string hexHandleText(std::uint64_t handle) {
    char buf[kMaxHexChars];
    return std::string(buf, putHex(buf, handle));
}

std::uint64_t maxDocumentBytes(const DxfDocumentSetup& setup) {
    // The header holds four reals; any real may take up to kMaxDrawingRealChars.
    return headerText(setup).size() + 4 * kMaxDrawingRealChars +
           setup.maxEntities * maxEntityBytes() + kEntitiesEnd.size();
}

}  // namespace kellvor
