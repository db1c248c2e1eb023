// Destinations for the bytes of an output file: a real file, or memory for tests.
#pragma once

#include <cstddef>
#include <string>
#include <system_error>

namespace kellvor {

// Where a writer's bytes go. Writers hand over large blocks, never single lines.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Stores size bytes; false when they could not all be stored (error() tells why).
    virtual bool write(const char* data, std::size_t size) = 0;
    // The reason of the first failure; empty while there was none.
    virtual std::error_code error() const = 0;
};

// Collects the bytes in memory; never fails.
class StringSink final : public ByteSink {
  public:
    bool write(const char* data, std::size_t size) override {
        m_text.append(data, size);
        return true;
    }
    std::error_code error() const override { return {}; }
    // Everything written so far.
    const std::string& text() const { return m_text; }

  private:
    std::string m_text;
};

}  // namespace kellvor
