// The trace zahnrad.txt: every turned polyline point and every root arc of gear 1 as text.
#pragma once

#include <cstdint>

#include "outline/gear_outline.h"
#include "output/background_writer.h"
#include "output/block_buffer.h"
#include "output/byte_sink.h"
#include "output/file_names.h"

namespace kellvor {

// Writes one record per tooth: its N points as "x y" lines, then its arc laid out like the
// drawing's ARC entity with 6 significant digits.
class OutlineTraceWriter {
  public:
    // The writer formats into its own block buffer and passes whole blocks to sink, through
    // background when it is given (then writing overlaps formatting).
    explicit OutlineTraceWriter(ByteSink& sink, BackgroundWriter* background = nullptr);

    // Starts the trace (it has no header). False once the sink failed.
    bool open();
    // Writes the tooth's point lines and its arc block, whose handle line holds 27 + (k + 1) N:
    // the drawing's handle of the first LINE of the next tooth.
    bool writeTooth(const OutlineTooth& tooth);
    // Hands all text to the sink; false when any write failed.
    bool close();

  private:
    BlockBuffer m_buffer;
};

// Most bytes a trace of z1 teeth with pointCount points each can take (any real values).
std::uint64_t maxTraceBytes(std::int64_t z1, std::int64_t pointCount);

}  // namespace kellvor
