#include "engine/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tallix {

unsigned DefaultWorkers() {
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelFor(std::size_t count, unsigned workers,
                 const std::function<void(std::size_t index, unsigned worker)>& job) {
    const unsigned threads =
        static_cast<unsigned>(std::clamp<std::size_t>(count, 1, std::max(workers, 1u)));
    // Indexes are handed out one at a time: members differ in size by orders of magnitude,
    // so fixed shares would leave one thread idle while the other reads a large file.
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto run = [&](unsigned worker) {
        for (std::size_t i = next++; i < count && !failed; i = next++) {
            try {
                job(i, worker);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure) {
                    failure = std::current_exception();
                }
                failed = true;
            }
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (unsigned worker = 1; worker < threads; ++worker) {
        try {
            helpers.emplace_back(run, worker);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those running share the work
        }
    }
    run(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace tallix
