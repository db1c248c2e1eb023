#include "output/tooth_relay.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace kellvor {
namespace {

// Copies a tooth into a slot: every field, the polyline into the slot's storage once it has
// grown to the tooth's size (vector assignment keeps its capacity).
void copyTooth(const OutlineTooth& from, OutlineTooth& to) {
    to = from;
}

}  // namespace

// The thread formats the trace while the walk's thread formats the drawing: the two files'
// numbers are formatted at the same time (see the bench's threaded and one-thread rows).
ToothRelay::ToothRelay(ToothConsumer consume, std::size_t slots, bool ownThread)
    : m_consume(std::move(consume)), m_slots(std::max<std::size_t>(slots, 1)) {
    if (!ownThread)
        return;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: push() hands each tooth to the consumer itself.
    }
}

ToothRelay::~ToothRelay() {
    stop();
}

bool ToothRelay::push(const OutlineTooth& tooth) {
    if (!m_thread.joinable()) {
        if (!m_failed && m_consume && !m_consume(tooth))
            m_failed = true;
        return !m_failed && !m_closed;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_freed.wait(lock, [&] { return m_failed || m_pushed - m_consumed < m_slots.size(); });
    if (m_failed || m_closed)
        return false;
    // The slot is the thread's only once m_pushed counts it, so it is filled under the lock;
    // a copy of a few kilobytes is small beside formatting the tooth.
    copyTooth(tooth, m_slots[m_pushed % m_slots.size()]);
    ++m_pushed;
    lock.unlock();
    m_filled.notify_one();
    return true;
}

void ToothRelay::stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_filled.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

bool ToothRelay::finish() {
    stop();
    if (m_thrown)
        std::rethrow_exception(std::exchange(m_thrown, nullptr));
    return !m_failed;
}

void ToothRelay::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_filled.wait(lock, [&] { return m_consumed < m_pushed || m_closed; });
        if (m_consumed == m_pushed)
            return;  // closed and nothing left
        const OutlineTooth& tooth = m_slots[m_consumed % m_slots.size()];
        // The slot stays reserved while it is read: push waits for m_consumed to pass it.
        const bool skip = m_failed || !m_consume;
        lock.unlock();
        bool ok = true;
        try {
            ok = skip || m_consume(tooth);
        } catch (...) {
            // Handed to the walk's thread by finish(), which ends the command with it.
            ok = false;
            m_thrown = std::current_exception();
        }
        lock.lock();
        if (!ok)
            m_failed = true;
        ++m_consumed;
        m_freed.notify_one();
    }
}

}  // namespace kellvor
