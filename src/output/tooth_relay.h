// Hands the teeth of a walk to a consumer on a second thread, so that two files are formatted
// at the same time.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "outline/gear_outline.h"

namespace kellvor {

// Teeth a relay holds in flight unless told otherwise.
inline constexpr std::size_t kRelaySlots = 16;

// Copies each pushed tooth into one of a few slots; its own thread hands them to consume in
// push order. Memory stays at the slots whatever the number of teeth. Where no thread can be
// started (a process or memory limit), push() hands each tooth to consume itself.
class ToothRelay {
  public:
    // Starts the thread (unless ownThread is false). consume is called once per tooth; after it
    // returns false it is not called again and push reports the failure.
    explicit ToothRelay(ToothConsumer consume, std::size_t slots = kRelaySlots,
                        bool ownThread = true);
    ToothRelay(const ToothRelay&) = delete;
    ToothRelay& operator=(const ToothRelay&) = delete;
    // Finishes the teeth in flight and stops the thread.
    ~ToothRelay();

    // Queues a copy of tooth (waits while every slot is in use); false once consume failed.
    bool push(const OutlineTooth& tooth);
    // Waits until every queued tooth is consumed and stops the thread; false if consume failed.
    // Rethrows what consume threw on the thread.
    bool finish();

  private:
    void run();
    void stop();

    ToothConsumer m_consume;
    std::vector<OutlineTooth> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_filled;  // the thread waits here for teeth
    std::condition_variable m_freed;   // push waits here for a free slot
    std::uint64_t m_pushed = 0;        // teeth queued so far
    std::uint64_t m_consumed = 0;      // teeth the thread has finished
    bool m_closed = false;
    bool m_failed = false;
    std::exception_ptr m_thrown;  // what consume threw on the thread
    std::thread m_thread;
};

}  // namespace kellvor
