// The kept second thread: every run calls the job once on each thread and returns only when both
// are done, and a failure on either thread comes back to the caller without spoiling later runs.
#include "simulation/helper_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace pelvaron::simulation {
namespace {

TEST(HelperThread, RunsTheJobOnBothThreadsWaitsForBothAndHandsBackTheirFailures) {
    HelperThread helper;
    const auto caller = std::this_thread::get_id();
    for (int round = 0; round < 200; ++round) {
        std::atomic<int> calls[2] = {0, 0};
        std::atomic<bool> helperDone{false};
        bool helperElsewhere = false;
        helper.run([&](int thread) {
            ++calls[thread];
            if (thread == 1) {
                helperElsewhere = std::this_thread::get_id() != caller;
                // Late, so that returning early would show.
                if (round % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
                helperDone = true;
            }
        });
        ASSERT_EQ(calls[0].load(), 1) << round;
        ASSERT_EQ(calls[1].load(), 1) << round;
        ASSERT_TRUE(helperDone.load()) << round;
        ASSERT_TRUE(helperElsewhere) << round;
    }

    // A failure on the helper, or on the caller while the helper is still at work.
    EXPECT_THROW(helper.run([](int thread) {
        if (thread == 1) throw std::runtime_error("helper");
    }),
                 std::runtime_error);
    std::atomic<bool> helperFinished{false};
    EXPECT_THROW(helper.run([&](int thread) {
        if (thread == 0) throw std::logic_error("caller");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        helperFinished = true;
    }),
                 std::logic_error);
    EXPECT_TRUE(helperFinished.load());
    // And the next run goes on as before.
    std::atomic<int> calls{0};
    helper.run([&](int) { ++calls; });
    EXPECT_EQ(calls.load(), 2);
}

}  // namespace
}  // namespace pelvaron::simulation
