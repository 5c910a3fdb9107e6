// The layer's clock: virtual time must cost no real time and must never run backwards.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

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

// Starts `count` threads that take part in virtual time and then run `body`; returns once all of
// them take part, so that none can let time pass before the others are there.
class Takers {
public:
    template <typename Body>
    Takers(int count, Body body) {
        for (int i = 0; i < count; ++i) {
            m_threads.emplace_back([this, body, i] {
                w32test::clock::TakePart();
                ++m_ready;
                body(i);
            });
        }
        while (m_ready.load() < count) {
            std::this_thread::yield();
        }
    }
    // Joins them, letting time pass meanwhile.
    void Join() {
        w32test::clock::OutsideWaitScope waiting;
        for (std::thread& t : m_threads) {
            t.join();
        }
        m_threads.clear();
    }
    ~Takers() { Join(); }

private:
    std::vector<std::thread> m_threads;
    std::atomic<int> m_ready{0};
};

TEST(VirtualTimeThreads, SleepsThatStartTogetherEndTogether) {
    w32test::clock::VirtualTimeScope virtualTime;
    uint64_t start = w32test::clock::NowMicros();
    std::atomic<uint64_t> woke[2] = {{0}, {0}};
    Takers sleepers(2, [&](int i) {
        w32::Sleep(100);
        woke[i] = w32test::clock::NowMicros();
    });
    sleepers.Join();
    EXPECT_EQ(woke[0].load() - start, 100000u);
    EXPECT_EQ(woke[1].load() - start, 100000u);
    EXPECT_EQ(w32test::clock::NowMicros() - start, 100000u);
}

TEST(VirtualTimeThreads, TimeStandsStillWhileATakingThreadRuns) {
    w32test::clock::VirtualTimeScope virtualTime;
    uint64_t start = w32test::clock::NowMicros();
    std::atomic<uint64_t> woke{0};
    Takers sleeper(1, [&](int) {
        w32::Sleep(50);
        woke = w32test::clock::NowMicros();
    });
    // This thread took part when it switched virtual time on, and it is busy.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(w32test::clock::NowMicros(), start);
    EXPECT_EQ(woke.load(), 0u);
    // Its own shorter sleep ends first; the longer one takes the clock past the sleeper's.
    w32::Sleep(10);
    EXPECT_EQ(w32test::clock::NowMicros() - start, 10000u);
    w32::Sleep(100);
    EXPECT_EQ(w32test::clock::NowMicros() - start, 110000u);
    sleeper.Join();
    EXPECT_EQ(woke.load() - start, 50000u);
}

TEST(VirtualTimeThreads, AThreadThatEndsNoLongerHoldsTheClock) {
    w32test::clock::VirtualTimeScope virtualTime;
    uint64_t start = w32test::clock::NowMicros();
    {
        Takers quitter(1, [](int) {});  // takes part, never waits, ends
    }
    w32::Sleep(30);
    EXPECT_EQ(w32test::clock::NowMicros() - start, 30000u);
}

TEST(VirtualTimeThreads, ASleepEndedByAnotherThreadLetsTheClockStay) {
    w32test::clock::VirtualTimeScope virtualTime;
    uint64_t start = w32test::clock::NowMicros();
    LONG flag = 0;
    std::atomic<int> reached{-1};
    Takers sleeper(1, [&](int) {
        reached = w32test::clock::SleepUntilMicrosOrEnd(start + 3600000000u, &flag) ? 1 : 0;
    });
    w32test::clock::EndSleep(&flag);
    sleeper.Join();
    EXPECT_EQ(reached.load(), 0);
    EXPECT_EQ(w32test::clock::NowMicros(), start);  // the hour never passed
    flag = 0;
    EXPECT_TRUE(w32test::clock::SleepUntilMicrosOrEnd(start + 500, &flag));
    EXPECT_EQ(w32test::clock::NowMicros(), start + 500);
}

TEST(Clock, RealSleepEndedByAnotherThreadReturnsAtOnce) {
    ASSERT_FALSE(w32test::clock::IsVirtual());
    LONG flag = 0;
    Steady::time_point start = Steady::now();
    std::thread ender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        w32test::clock::EndSleep(&flag);
    });
    EXPECT_FALSE(
        w32test::clock::SleepUntilMicrosOrEnd(w32test::clock::NowMicros() + 60000000u, &flag));
    ender.join();
    EXPECT_LT(RealMsSince(start), 5000);
}

TEST(VirtualTimeThreads, SwitchingVirtualTimeOffEndsTheWaitsOnIt) {
    std::atomic<bool> woke{false};
    auto scope = std::make_unique<w32test::clock::VirtualTimeScope>();
    Takers sleeper(1, [&](int) {
        w32::Sleep(3600000);  // an hour, which this busy thread never lets pass
        woke = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(woke.load());
    Steady::time_point start = Steady::now();
    scope.reset();
    sleeper.Join();
    EXPECT_TRUE(woke.load());
    EXPECT_LT(RealMsSince(start), 1000);
}

}  // namespace
