#include "output/dxf_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

#include "output/output_messages.h"

namespace kellvor {
namespace {

// Bytes read from the file at a time; no line of a drawing comes near it.
constexpr std::size_t kReadBytes = std::size_t{1} << 20;

// Groups an entity must have, as bits.
enum : unsigned {
    kHandle = 1u << 0,
    kX = 1u << 1,
    kY = 1u << 2,
    kX2 = 1u << 3,
    kY2 = 1u << 4,
    kRadius = 1u << 5,
    kStartAngle = 1u << 6,
    kEndAngle = 1u << 7,
};
constexpr unsigned kLineGroups = kHandle | kX | kY | kX2 | kY2;
constexpr unsigned kArcGroups = kHandle | kX | kY | kRadius | kStartAngle | kEndAngle;
constexpr unsigned kVertexGroups = kHandle | kX | kY;

// The kind of an entity type the reader takes, or nothing.
std::optional<DxfEntityKind> entityKind(std::string_view type) {
    if (type == "LINE")
        return DxfEntityKind::line;
    if (type == "ARC")
        return DxfEntityKind::arc;
    if (type == "POLYLINE")
        return DxfEntityKind::polyline;
    if (type == "VERTEX")
        return DxfEntityKind::vertex;
    if (type == "SEQEND")
        return DxfEntityKind::seqend;
    return std::nullopt;
}

// The groups an entity of kind must have.
unsigned neededGroups(DxfEntityKind kind) {
    switch (kind) {
        case DxfEntityKind::line:
            return kLineGroups;
        case DxfEntityKind::arc:
            return kArcGroups;
        case DxfEntityKind::vertex:
            return kVertexGroups;
        default:
            return kHandle;
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

template <typename T, typename... Base>
bool parseWhole(std::string_view text, T& value, Base... base) {
    text = trimmed(text);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base...);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

DxfEntityReader::DxfEntityReader(const std::filesystem::path& file, int handleBase)
    : m_handleBase(handleBase), m_data(new char[kReadBytes]) {
    m_fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        m_error = output_messages::fileError(file, output_messages::kCannotRead,
                                             std::error_code(errno, std::generic_category()));
}

DxfEntityReader::~DxfEntityReader() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void DxfEntityReader::fail(std::string_view reason) {
    if (m_error.empty())
        m_error = output_messages::drawingLineError(m_lineNumber, reason);
    m_done = true;
}

bool DxfEntityReader::readLine(std::string_view& line) {
    for (;;) {
        const char* from = m_data.get() + m_begin;
        const auto* newline = static_cast<const char*>(std::memchr(from, '\n', m_end - m_begin));
        if (newline != nullptr) {
            line = std::string_view(from, static_cast<std::size_t>(newline - from));
            m_begin += line.size() + 1;
            ++m_lineNumber;
            return true;
        }
        if (m_eof) {
            if (m_begin == m_end)
                return false;
            // The last line without its line end.
            line = std::string_view(from, m_end - m_begin);
            m_begin = m_end;
            ++m_lineNumber;
            return true;
        }
        // Keep the start of the unfinished line and read on behind it.
        const std::size_t kept = m_end - m_begin;
        if (kept == kReadBytes) {
            fail(output_messages::kLineTooLong);
            return false;
        }
        std::memmove(m_data.get(), from, kept);
        m_begin = 0;
        m_end = kept;
        const ssize_t n = ::read(m_fd, m_data.get() + m_end, kReadBytes - m_end);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(std::error_code(errno, std::generic_category()).message());
            return false;
        }
        m_end += static_cast<std::size_t>(n);
        m_eof = n == 0;
    }
}

bool DxfEntityReader::readPair(int& code, std::string_view& value) {
    std::string_view line;
    if (!readLine(line))
        return false;
    if (!parseWhole(line, code)) {
        fail(output_messages::kNoGroupCode);
        return false;
    }
    if (!readLine(value)) {
        fail(output_messages::kNoGroupValue);
        return false;
    }
    value = trimmed(value);
    return true;
}

std::optional<DxfEntity> DxfEntityReader::next() {
    if (m_fd < 0 || m_done)
        return std::nullopt;
    int code = 0;
    std::string_view value;
    // The entity's type: read ahead as the end of the previous one, or looked for now.
    std::string type = std::move(m_nextType);
    m_nextType.clear();
    std::optional<DxfEntityKind> kind;
    while (!(m_inEntities && (kind = entityKind(type)))) {
        if (type == "EOF") {
            m_done = true;
            return std::nullopt;
        }
        if (type == "SECTION") {
            m_sectionName = true;
        } else if (type == "ENDSEC") {
            m_inEntities = false;
        } else if (!type.empty() && m_inEntities) {
            fail(output_messages::unknownEntity(type));
            return std::nullopt;
        }
        // Outside ENTITIES the header's variables and the tables' entries are passed over.
        if (!readPair(code, value)) {
            if (m_error.empty())
                fail(output_messages::kNoEndOfFile);
            return std::nullopt;
        }
        if (m_sectionName && code == 2) {
            m_inEntities = value == "ENTITIES";
            m_sectionName = false;
        }
        // Only group 0 starts something; the section's name and the like are passed over.
        type = code == 0 ? std::string(value) : std::string();
    }
    DxfEntity e;
    e.kind = *kind;
    const bool isArc = e.kind == DxfEntityKind::arc;
    unsigned seen = 0;
    for (;;) {
        if (!readPair(code, value)) {
            if (m_error.empty())
                fail(output_messages::kNoEndOfFile);
            return std::nullopt;
        }
        if (code == 0) {
            m_nextType = value;
            break;
        }
        bool ok = true;
        unsigned group = 0;
        switch (code) {
            case 5:
                ok = parseWhole(value, e.handle, m_handleBase);
                group = kHandle;
                break;
            case 10:
                ok = parseWhole(value, isArc ? e.centre.x : e.start.x);
                group = kX;
                break;
            case 20:
                ok = parseWhole(value, isArc ? e.centre.y : e.start.y);
                group = kY;
                break;
            case 11:
                ok = parseWhole(value, e.end.x);
                group = kX2;
                break;
            case 21:
                ok = parseWhole(value, e.end.y);
                group = kY2;
                break;
            case 40:
                ok = parseWhole(value, e.radius);
                group = kRadius;
                break;
            case 50:
                ok = parseWhole(value, e.startAngle);
                group = kStartAngle;
                break;
            case 51:
                ok = parseWhole(value, e.endAngle);
                group = kEndAngle;
                break;
            case 42:
                ok = parseWhole(value, e.bulge);
                break;
            case 70: {
                int flags = 0;
                ok = parseWhole(value, flags);
                e.closed = (flags & 1) != 0;
                break;
            }
            default:
                break;  // layer, linetype, colour, z
        }
        if (!ok) {
            fail(output_messages::badGroupValue(code));
            return std::nullopt;
        }
        seen |= group;
    }
    const unsigned needed = neededGroups(e.kind);
    if ((seen & needed) != needed) {
        fail(output_messages::incompleteEntity(type));
        return std::nullopt;
    }
    return e;
}

}  // namespace kellvor
