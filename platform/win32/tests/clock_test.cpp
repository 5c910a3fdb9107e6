// The layer's clock: virtual time must cost no real time and must never run backwards.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "w32/clock.h"
#include "w32test/clock.h"

namespace {

using Steady = std::chrono::steady_clock;

long long RealMsSince(Steady::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

TEST(Clock, VirtualSleepAdvancesTicksWithoutRealDelay) {
    w32test::clock::VirtualTimeScope virtualTime;
    Steady::time_point start = Steady::now();
    DWORD before = w32::GetTickCount();
    w32::Sleep(10000);
    w32::Sleep(500);
    EXPECT_EQ(w32::GetTickCount() - before, 10500u);
    EXPECT_LT(RealMsSince(start), 1000);
}

TEST(Clock, RealSleepTakesRealTime) {
    ASSERT_FALSE(w32test::clock::IsVirtual());
    Steady::time_point start = Steady::now();
    DWORD before = w32::GetTickCount();
    w32::Sleep(60);
    EXPECT_GE(RealMsSince(start), 55);
    // The system's tick count may be coarse (about 16 ms steps).
    EXPECT_GE(w32::GetTickCount() - before, 40u);
}

TEST(Clock, SwitchingVirtualTimeOnAndOffNeverGoesBackwards) {
    uint64_t realBefore = w32test::clock::NowMicros();
    {
        w32test::clock::VirtualTimeScope virtualTime;
        uint64_t v0 = w32test::clock::NowMicros();
        EXPECT_GE(v0, realBefore);
        w32test::clock::AdvanceToMicros(v0 - 5);  // in the past: ignored
        EXPECT_EQ(w32test::clock::NowMicros(), v0);
        w32test::clock::AdvanceMicros(250);
        EXPECT_EQ(w32test::clock::NowMicros(), v0 + 250);
        w32test::clock::SleepUntilMicros(v0 + 1000);
        EXPECT_EQ(w32test::clock::NowMicros(), v0 + 1000);
    }
    EXPECT_FALSE(w32test::clock::IsVirtual());
}

TEST(Clock, WaitForAdvanceWakesWhenAnotherThreadSleeps) {
    w32test::clock::VirtualTimeScope virtualTime;
    uint64_t seen = w32test::clock::NowMicros();
    std::atomic<uint64_t> woke{0};
    std::thread waiter([&] { woke = w32test::clock::WaitForAdvance(seen, 5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    w32::Sleep(7);
    waiter.join();
    EXPECT_EQ(woke.load(), seen + 7000);
}

TEST(Clock, WaitForAdvanceGivesUpAfterItsRealTimeout) {
    w32test::clock::VirtualTimeScope virtualTime;
    uint64_t seen = w32test::clock::NowMicros();
    Steady::time_point start = Steady::now();
    EXPECT_EQ(w32test::clock::WaitForAdvance(seen, 30), seen);
    EXPECT_GE(RealMsSince(start), 25);
}

}  // namespace
