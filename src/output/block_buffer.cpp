#include "output/block_buffer.h"

#include <algorithm>
#include <cstring>

namespace kellvor {

BlockBuffer::BlockBuffer(ByteSink& sink, BackgroundWriter* background)
    : m_sink(sink),
      m_background(background),
      m_data(background != nullptr ? background->take()
                                   : BackgroundWriter::Block(new char[kBlockBytes])) {}

void BlockBuffer::append(std::string_view text) {
    while (!text.empty()) {
        if (m_used == kBlockBytes)
            flush();
        const std::size_t n = std::min(kBlockBytes - m_used, text.size());
        std::memcpy(m_data.get() + m_used, text.data(), n);
        m_used += n;
        text.remove_prefix(n);
    }
}

bool BlockBuffer::flush() {
    // After a failure the text is dropped, so that a writer can run on to its end without
    // checking every piece; the first failure stays what the sink reports.
    if (m_ok && m_used > 0) {
        if (m_background != nullptr)
            m_data = m_background->submit(m_sink, std::move(m_data), m_used, m_ok);
        else
            m_ok = m_sink.write(m_data.get(), m_used);
    }
    m_used = 0;
    return m_ok;
}

bool BlockBuffer::finish() {
    flush();
    if (m_ok && m_background != nullptr)
        m_ok = m_background->drain(m_sink);
    return m_ok;
}

}  // namespace kellvor
