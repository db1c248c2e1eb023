// The drawing zahnrad.dxf: one ENTITIES section of LINE and ARC entities with decimal handles.
#pragma once

#include <cstdint>

#include "outline/gear_outline.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/byte_sink.h"
#include "output/file_names.h"

namespace kellvor {

// Writes the outline of gear 1 as a minimal DXF drawing, tooth by tooth, into a sink.
class DxfOutlineWriter {
  public:
    // The writer formats into its own block buffer and passes whole blocks to sink, through
    // background when it is given (then writing overlaps formatting).
    explicit DxfOutlineWriter(ByteSink& sink, BackgroundWriter* background = nullptr);

    // Writes the section header; the next handle is 27. False once the sink failed.
    bool open();
    // Writes a LINE from point j - 1 to point j for j = 1 .. N - 1 (none where the two points are
    // one, the tip of a pointed tooth, though its handle is used up), then the root arc's ARC.
    bool writeTooth(const OutlineTooth& tooth);
    // Writes the footer and hands all text to the sink; false when any write failed.
    bool close();
    // The handle the next entity receives (64 bits: never wraps).
    std::int64_t nextHandle() const { return m_nextHandle; }

  private:
    BlockBuffer m_buffer;
    std::int64_t m_nextHandle;
};

// Most bytes a drawing of z1 teeth with pointCount points each can take (any real values).
std::uint64_t maxDrawingBytes(std::int64_t z1, std::int64_t pointCount);

}  // namespace kellvor
