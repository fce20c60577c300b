#include "engine/listing/on_threads.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tallix {

void OnThreads(std::size_t count, unsigned workers,
               const std::function<void(std::size_t index, unsigned worker)>& job) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&](unsigned worker) {
        for (std::size_t i; !failed && (i = next++) < count;) {
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
    const auto threads = static_cast<unsigned>(
        std::min<std::size_t>(std::max(workers, 1u), std::max<std::size_t>(count, 1)));
    std::vector<std::thread> helpers;
    for (unsigned worker = 1; worker < threads; ++worker) {
        helpers.emplace_back(work, worker);
    }
    work(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace tallix
