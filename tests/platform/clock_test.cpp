#include "platform/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using kw::clock::NowMs;
using kw::clock::SleepMs;

// What the threads did, in order, with the virtual time of each step.
class Trace {
public:
    void Add(const std::string& who) {
        std::lock_guard lock(mutex_);
        lines_.push_back(who + "@" + std::to_string(NowMs() - start_));
    }
    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    void Start() { start_ = NowMs(); }

private:
    std::mutex mutex_;
    uint64_t start_ = 0;
    std::vector<std::string> lines_;
};

class VirtualClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        kw::clock::UseVirtualTime(true);
        trace.Start();
    }
    void TearDown() override { kw::clock::UseVirtualTime(false); }
    Trace trace;
};

TEST_F(VirtualClockTest, ThreadsInterleaveByTheirDeadlinesAlone) {
    kw::clock::Thread worker([&] {
        for (int i = 0; i < 4; ++i) {
            trace.Add("w");
            SleepMs(30);
        }
    });
    // The worker runs only once this thread waits, and never past this thread's deadline.
    trace.Add("m");
    SleepMs(70);
    trace.Add("m");
    SleepMs(100);
    trace.Add("m");
    worker.Join();
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"m@0", "w@0", "w@30", "w@60", "m@70", "w@90", "m@170"}));
}

TEST_F(VirtualClockTest, EqualDeadlinesWakeInTheOrderTheyBeganToWait) {
    std::vector<kw::clock::Thread> workers;
    for (std::string name : {"a", "b", "c"}) {
        workers.emplace_back([&, name] {
            SleepMs(50);
            trace.Add(name);
        });
    }
    // This thread began to wait first: the workers start only once it waits.
    SleepMs(50);
    trace.Add("m");
    for (auto& worker : workers) worker.Join();
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"m@50", "a@50", "b@50", "c@50"}));
}

TEST_F(VirtualClockTest, JoiningLetsTheOtherThreadFinishItsSleeps) {
    kw::clock::Thread worker([&] {
        SleepMs(2000);
        trace.Add("w");
    });
    worker.Join();
    trace.Add("m");
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"w@2000", "m@2000"}));
    EXPECT_FALSE(worker.Joinable());
}

// As when the program's main thread returns while a worker still runs: the worker must still get
// its turns, or the process could never join it.
TEST_F(VirtualClockTest, AThreadThatEndsLeavesTheTimelineToTheOthers) {
    kw::clock::Thread worker;
    std::atomic<bool> outerDone{false};
    std::thread outer([&] {
        kw::clock::UseVirtualTime(true);  // takes part from here on
        worker = kw::clock::Thread([&] {
            for (int i = 0; i < 5; ++i) SleepMs(100);
            trace.Add("w");
        });
        outerDone = true;
    });
    // Each wait lets the outer thread have its turn once it takes part.
    while (!outerDone) SleepMs(1);
    outer.join();
    worker.Join();  // hangs if the ended thread kept the turn
    ASSERT_EQ(trace.Lines().size(), 1u);
    // Five sleeps of the worker, after however many 1 ms waits the outer thread took to take part.
    EXPECT_GE(std::stoi(trace.Lines()[0].substr(2)), 500);
}

TEST_F(VirtualClockTest, ALongSleepCostsNoRealTime) {
    auto realBefore = std::chrono::steady_clock::now();
    uint64_t before = NowMs();
    SleepMs(3'600'000);
    EXPECT_EQ(NowMs() - before, 3'600'000u);
    EXPECT_LT(std::chrono::steady_clock::now() - realBefore, std::chrono::seconds(5));
}

TEST_F(VirtualClockTest, AThreadOutsideTheTimelineMovesTheClockAtOnce) {
    uint64_t before = NowMs();
    std::thread([] { SleepMs(500); }).join();
    EXPECT_EQ(NowMs() - before, 500u);
}

TEST_F(VirtualClockTest, CalendarSecondsFollowTheTimeline) {
    int64_t before = kw::clock::WallSeconds();
    SleepMs(5000);
    EXPECT_EQ(kw::clock::WallSeconds() - before, 5);
}

TEST(RealClockTest, SwitchingVirtualTimeOffReleasesAWaitingThread) {
    kw::clock::UseVirtualTime(true);
    bool done = false;
    kw::clock::Thread worker([&] {
        SleepMs(10'000'000);
        done = true;
    });
    SleepMs(1);  // the worker is now asleep until its far deadline
    kw::clock::UseVirtualTime(false);
    worker.Join();
    EXPECT_TRUE(done);
}

}  // namespace
