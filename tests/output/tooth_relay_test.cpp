#include "output/tooth_relay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <vector>

namespace kellvor {
namespace {

OutlineTooth toothNumber(std::int32_t k) {
    OutlineTooth t;
    t.index = k;
    t.angle = k * 0.5;
    t.polyline.resize(static_cast<std::size_t>(1 + k % 7));
    for (std::int32_t i = 0; i < t.pointCount(); ++i)
        t.polyline[static_cast<std::size_t>(i)] = Point2{double(k), double(i)};
    t.arcRadius = k + 0.25;
    return t;
}

TEST(ToothRelay, HandsOnEveryToothInOrderAndIntact) {
    std::vector<std::int32_t> seen;
    bool intact = true;
    {
        ToothRelay relay(
            [&](const OutlineTooth& t) {
                const OutlineTooth expected = toothNumber(t.index);
                intact = intact && t.pointCount() == expected.pointCount() &&
                         t.arcRadius == expected.arcRadius && t.angle == expected.angle &&
                         t.points().back().x == double(t.index) &&
                         t.points().back().y == double(t.pointCount() - 1);
                seen.push_back(t.index);
                return true;
            },
            3);
        for (std::int32_t k = 0; k < 20000; ++k)
            ASSERT_TRUE(relay.push(toothNumber(k)));
        EXPECT_TRUE(relay.finish());
    }
    ASSERT_EQ(seen.size(), 20000u);
    for (std::int32_t k = 0; k < 20000; ++k)
        ASSERT_EQ(seen[static_cast<std::size_t>(k)], k);
    EXPECT_TRUE(intact);
}

TEST(ToothRelay, AFailedConsumerIsNotCalledAgainAndPushReportsIt) {
    std::atomic<int> calls{0};
    ToothRelay relay([&](const OutlineTooth& t) {
        ++calls;
        return t.index < 10;
    });
    bool refused = false;
    for (std::int32_t k = 0; k < 100000 && !refused; ++k)
        refused = !relay.push(toothNumber(k));
    EXPECT_TRUE(refused);
    EXPECT_FALSE(relay.finish());
    EXPECT_EQ(calls.load(), 11);
}

TEST(ToothRelay, FinishWithoutTeethSucceeds) {
    ToothRelay relay([](const OutlineTooth&) { return false; });
    EXPECT_TRUE(relay.finish());
    EXPECT_FALSE(relay.push(toothNumber(0)));
}

// Without a thread of its own (none could be started) the relay hands each tooth on at once,
// with the same order and the same failure rule.
TEST(ToothRelay, WithoutAThreadConsumesInPushOrder) {
    std::vector<std::int32_t> seen;
    ToothRelay relay(
        [&](const OutlineTooth& t) {
            seen.push_back(t.index);
            return t.index < 10;
        },
        kRelaySlots, false);
    std::int32_t pushed = 0;
    while (pushed < 100 && relay.push(toothNumber(pushed)))
        ++pushed;
    EXPECT_EQ(pushed, 10);
    EXPECT_FALSE(relay.finish());
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_EQ(seen.back(), 10);
}

// A consumer that throws on the relay's thread (an allocation that fails) ends the walk on the
// caller's thread instead of the program.
TEST(ToothRelay, WhatTheConsumerThrowsReachesFinish) {
    ToothRelay relay([](const OutlineTooth& t) {
        if (t.index == 5)
            throw std::bad_alloc();
        return true;
    });
    for (std::int32_t k = 0; k < 1000 && relay.push(toothNumber(k)); ++k) {
    }
    EXPECT_THROW(relay.finish(), std::bad_alloc);
}

}  // namespace
}  // namespace kellvor
