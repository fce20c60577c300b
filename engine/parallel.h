#pragma once

#include <cstddef>
#include <functional>

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

}  // namespace tallix
