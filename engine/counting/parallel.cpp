#include "engine/counting/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
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

void JobQueue::Add(Job job) {
    {
        const std::lock_guard lock(lock_);
        waiting_.push_back(std::move(job));
    }
    changed_.notify_one();
}

void JobQueue::Work(unsigned worker) {
    std::unique_lock lock(lock_);
    for (;;) {
        // An idle thread waits while another runs a job: that job may add more.
        changed_.wait(lock, [&] { return failure_ || !waiting_.empty() || running_ == 0; });
        if (failure_ || waiting_.empty()) {
            return;
        }
        Job job = std::move(waiting_.back());
        waiting_.pop_back();
        ++running_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job(worker);
        } catch (...) {
            failure = std::current_exception();
        }
        job = nullptr;  // what the job holds goes before the lock is taken again
        lock.lock();
        --running_;
        if (failure && !failure_) {
            failure_ = failure;
        }
        if (failure_ || running_ == 0) {
            changed_.notify_all();
        }
    }
}

void JobQueue::Run(unsigned workers) {
    std::vector<std::thread> helpers;
    helpers.reserve(std::max(workers, 1u) - 1);
    for (unsigned worker = 1; worker < workers; ++worker) {
        try {
            helpers.emplace_back([this, worker] { Work(worker); });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those running share the work
        }
    }
    Work(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    waiting_.clear();
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

}  // namespace tallix
