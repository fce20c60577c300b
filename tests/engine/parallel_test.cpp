#include "engine/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
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

}  // namespace
}  // namespace tallix
