#include "engine/counting/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tallix {
namespace {

TEST(ParallelFor, RunsEveryIndexOnceOnItsOwnWorkers) {
    for (const unsigned workers : {0u, 1u, 2u, 7u}) {
        for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{500}}) {
            std::vector<std::atomic<int>> runs(count);
            std::vector<std::atomic<int>> busy(std::max(workers, 1u));
            std::atomic<bool> shared{false};
            ParallelFor(count, workers, [&](std::size_t i, unsigned worker) {
                ASSERT_LT(worker, std::max(workers, 1u));
                if (busy[worker]++ != 0) {
                    shared = true;
                }
                ++runs[i];
                --busy[worker];
            });
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_EQ(runs[i], 1) << i << " of " << count << ", workers " << workers;
            }
            EXPECT_FALSE(shared) << "two threads used one worker's slot";
        }
    }
}

TEST(ParallelFor, PassesOnAJobsExceptionAndStops) {
    const auto failAtThree = [](std::atomic<int>& runs) {
        return [&runs](std::size_t i, unsigned) {
            ++runs;
            if (i == 3) {
                throw std::runtime_error("job");
            }
        };
    };
    std::atomic<int> runs{0};
    EXPECT_THROW(ParallelFor(100, 2, failAtThree(runs)), std::runtime_error);
    runs = 0;
    EXPECT_THROW(ParallelFor(100, 1, failAtThree(runs)), std::runtime_error);
    EXPECT_EQ(runs, 4);
}

// A tree of jobs: each of the first `inner` adds two children, so 2 * inner + 1 run in all.
TEST(JobQueue, RunsJobsThatJobsAddOnTheirOwnWorkersUntilNoneIsLeft) {
    for (const unsigned workers : {0u, 1u, 2u, 7u}) {
        constexpr int kInner = 200;
        JobQueue queue;
        std::vector<std::atomic<int>> runs(2 * kInner + 1);
        std::vector<std::atomic<int>> busy(std::max(workers, 1u));
        std::atomic<bool> shared{false};
        std::function<void(int, unsigned)> job = [&](int node, unsigned worker) {
            ASSERT_LT(worker, std::max(workers, 1u));
            if (busy[worker]++ != 0) {
                shared = true;
            }
            ++runs[node];
            if (node < kInner) {
                for (const int child : {2 * node + 1, 2 * node + 2}) {
                    queue.Add([&, child](unsigned w) { job(child, w); });
                }
            }
            --busy[worker];
        };
        queue.Add([&](unsigned worker) { job(0, worker); });
        queue.Run(workers);
        for (std::size_t node = 0; node < runs.size(); ++node) {
            EXPECT_EQ(runs[node], 1) << node << ", workers " << workers;
        }
        EXPECT_FALSE(shared) << "two threads used one worker's slot";
    }
}

TEST(JobQueue, IdleThreadsWaitForWorkALongJobAddsLater) {
    JobQueue queue;
    std::atomic<int> late{0};
    queue.Add([&](unsigned) {
        // The other thread finds nothing waiting for a while, and must not give up.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (int i = 0; i < 4; ++i) {
            queue.Add([&](unsigned) { ++late; });
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    queue.Run(2);
    EXPECT_EQ(late, 4);
    queue.Run(2);  // an empty queue returns at once
}

TEST(JobQueue, PassesOnAJobsExceptionAndDropsWhatWaits) {
    for (const unsigned workers : {1u, 2u}) {
        JobQueue queue;
        std::atomic<int> runs{0};
        queue.Add([&](unsigned) {
            ++runs;
            for (int i = 0; i < 50; ++i) {
                queue.Add([&](unsigned) { ++runs; });
            }
            throw std::runtime_error("job");
        });
        EXPECT_THROW(queue.Run(workers), std::runtime_error);
        EXPECT_LE(runs, 51);
        if (workers == 1) {
            EXPECT_EQ(runs, 1) << "nothing runs after the failure";
        }
        queue.Run(workers);  // the failure is passed on once; what waited is gone
    }
}

}  // namespace
}  // namespace tallix
