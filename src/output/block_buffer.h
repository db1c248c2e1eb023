// A large formatting buffer in front of a ByteSink: text is built in place and leaves in blocks.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "output/background_writer.h"
#include "output/byte_sink.h"

namespace kellvor {

// Bytes gathered before they are handed to the sink in one call.
inline constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

// Gathers formatted text and passes it to the sink whenever the next piece might not fit:
// directly, or through a background writer that writes while the next block fills.
class BlockBuffer {
  public:
    // Blocks go to sink, through background when it is given (it must outlive the buffer and
    // make blocks of kBlockBytes).
    explicit BlockBuffer(ByteSink& sink, BackgroundWriter* background = nullptr);
    BlockBuffer(const BlockBuffer&) = delete;
    BlockBuffer& operator=(const BlockBuffer&) = delete;

    // Space for at least n (at most kBlockBytes) more bytes; write there, then commit.
    char* reserve(std::size_t n) {
        if (kBlockBytes - m_used < n)
            flush();
        return m_data.get() + m_used;
    }
    // Ends the piece started by reserve at end.
    void commit(const char* end) { m_used = static_cast<std::size_t>(end - m_data.get()); }
    // Appends text of any length.
    void append(std::string_view text);
    // Hands everything gathered on towards the sink; false once the sink has failed.
    bool flush();
    // Hands everything gathered to the sink and waits until it is written; false on failure.
    bool finish();
    // False once the sink is known to have failed; later text is dropped.
    bool ok() const { return m_ok; }

  private:
    ByteSink& m_sink;
    BackgroundWriter* m_background;
    BackgroundWriter::Block m_data;
    std::size_t m_used = 0;
    bool m_ok = true;
};

}  // namespace kellvor
