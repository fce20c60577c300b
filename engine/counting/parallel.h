#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

namespace tallix {

// The number of threads worth using: one per processor, at least one.
unsigned DefaultWorkers();

// Runs job(index, worker) once for every index below `count`, on up to `workers` threads,
// the caller's among them, and returns when all have run. `worker` is below `workers` and
// no two threads share one, so a job may use per-worker state without locks. Results a job
// stores by index come out in a fixed order, whatever the timing. The first exception a
// job throws is thrown again here once every thread has stopped; jobs not yet begun by
// then are not run.
void ParallelFor(std::size_t count, unsigned workers,
                 const std::function<void(std::size_t index, unsigned worker)>& job);

// Jobs that may add further jobs, for work whose size is learnt while it runs (a folder
// walk finds projects, a project names members). Run takes jobs on up to `workers` threads,
// the caller's among them, and returns once none is waiting and none is running. A job's
// `worker` is as in ParallelFor. The first exception a job throws is thrown again by Run
// once every thread has stopped; jobs not yet begun by then are dropped.
class JobQueue {
public:
    using Job = std::function<void(unsigned worker)>;

    // From any thread: before Run, or from a running job.
    void Add(Job job);
    void Run(unsigned workers);

private:
    void Work(unsigned worker);

    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Job> waiting_;
    unsigned running_ = 0;
    std::exception_ptr failure_;
};

}  // namespace tallix
